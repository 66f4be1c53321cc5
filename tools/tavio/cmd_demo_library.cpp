// tavio demo-library DIR: writes a small music library for the demo and the
// tests: album folders with silent MP3 files carrying ID3v2.3 tags, and
// generated cover pictures (JPEG mostly, one bitmap, some albums without).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command.h"
#include "raster/bitmap32.h"
#include "raster/bmp_file.h"
#include "raster/jpeg_file.h"

namespace tavio::tool {
namespace {

struct DemoAlbum {
  const char* artist;
  const char* album;
  int year;
  const char* genre;
};

constexpr DemoAlbum kAlbums[] = {
    {"Anna Lind", "Northern Lights", 1998, "Pop"},
    {"Anna Lind", "Harbour Songs", 2003, "Pop"},
    {"The Copper Kettles", "Steam", 1971, "Rock"},
    {"The Copper Kettles", "Whistle Stop", 1974, "Rock"},
    {"Delta Nine", "Low Tide", 1959, "Jazz"},
    {"Delta Nine", "Blue Pier", 1961, "Jazz"},
    {"Echo Park Trio", "Midnight Standards", 1965, "Jazz"},
    {"Fjord", "Glacier", 2011, "Electronic"},
    {"Fjord", "Meltwater", 2014, "Electronic"},
    {"Gabriela Ortiz", "Canciones", 1987, "Latin"},
    {"Hollow Pines", "Campfire", 2008, "Folk"},
    {"Hollow Pines", "Timber", 2010, "Folk"},
    {"Iris Quartet", "String Quartets 1-3", 1993, "Classical"},
    {"Iris Quartet", "Late Quartets", 1996, "Classical"},
    {"Juniper", "Seeds", 2019, "Indie"},
    {"Kestrel", "Hover", 2001, "Rock"},
    {"Kestrel", "Dive", 2004, "Rock"},
    {"Lumen", "Photon", 2016, "Electronic"},
    {"Marlowe Brass Band", "Parade", 1955, "Jazz"},
    {"Nightjar", "Dusk", 1999, ""},
    {"Orchard Lane", "Windfall", 1968, "Pop"},
    {"Paper Boats", "Origami", 2012, "Indie"},
    {"Quiet Engine", "Idle", 2007, "Ambient"},
    {"Red Canyon", "Dust Devil", 1982, "Country"},
    {"Red Canyon", "Mesa", 1985, "Country"},
    {"Saltmarsh", "Reeds", 2021, "Folk"},
    {"Tin Lanterns", "Glow", 1991, "Rock"},
    {"Umber", "Earth Tones", 2002, "Soul"},
    {"Velvet Static", "Noise Floor", 1995, "Alternative"},
    {"Willow & Wren", "Birdsong", 2018, "Folk"},
    {"Xylo", "Mallets", 2009, "Jazz"},
    {"Yardbird Revival", "Bebop Nights", 1957, "Jazz"},
    {"Zephyr", "Trade Winds", 1979, "Pop"},
    {"Zephyr", "Doldrums", 1981, ""},
};

constexpr const char* kSongTitles[] = {"Opening", "Second Thoughts", "Closing Time"};

void PutSyncsafe(std::string& out, uint32_t n) {
  for (int shift = 21; shift >= 0; shift -= 7) out.push_back(static_cast<char>((n >> shift) & 0x7F));
}

void PutBigEndian32(std::string& out, uint32_t n) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((n >> shift) & 0xFF));
}

void PutTextFrame(std::string& frames, const char* id, const std::string& text) {
  if (text.empty()) return;
  frames += id;
  PutBigEndian32(frames, static_cast<uint32_t>(text.size() + 1));
  frames += std::string("\0\0", 2);  // flags
  frames.push_back('\0');            // ISO-8859-1
  frames += text;
}

// An ID3v2.3 tag followed by one second of silent MPEG-1 layer III frames.
std::string SilentMp3(const DemoAlbum& a, const char* title, int track) {
  std::string frames;
  PutTextFrame(frames, "TIT2", title);
  PutTextFrame(frames, "TPE1", a.artist);
  PutTextFrame(frames, "TALB", a.album);
  PutTextFrame(frames, "TYER", std::to_string(a.year));
  PutTextFrame(frames, "TCON", a.genre);
  PutTextFrame(frames, "TRCK", std::to_string(track) + "/3");
  std::string file = "ID3";
  file += std::string("\x03\x00\x00", 3);  // version 2.3, no flags
  PutSyncsafe(file, static_cast<uint32_t>(frames.size()));
  file += frames;
  // 128 kbit/s, 44.1 kHz, no padding: 417 bytes a frame; zero side info is silence.
  const std::string header("\xFF\xFB\x90\x44", 4);
  for (int i = 0; i < 38; ++i) file += header + std::string(413, '\0');
  return file;
}

// A cover that tells albums apart at a glance: a two-colour gradient, rings
// and a band, all from the album's number.
TBitmap32 DrawCover(int index, int size) {
  TBitmap32 cover(size, size);
  const float hue = static_cast<float>((index * 47) % 360);
  auto channel = [](float h, float shift) {
    const float v = 0.5f + 0.5f * std::cos((h + shift) * 3.14159265f / 180.0f);
    return static_cast<uint32_t>(40 + 200 * v);
  };
  const uint32_t r1 = channel(hue, 0), g1 = channel(hue, 120), b1 = channel(hue, 240);
  const uint32_t r2 = channel(hue + 150, 0), g2 = channel(hue + 150, 120), b2 = channel(hue + 150, 240);
  const float cx = size * (0.3f + 0.4f * ((index * 13) % 10) / 10.0f), cy = size * 0.45f;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float t = static_cast<float>(x + y) / (2.0f * size);
      uint32_t r = static_cast<uint32_t>(r1 + (static_cast<float>(r2) - r1) * t);
      uint32_t g = static_cast<uint32_t>(g1 + (static_cast<float>(g2) - g1) * t);
      uint32_t b = static_cast<uint32_t>(b1 + (static_cast<float>(b2) - b1) * t);
      const float d = std::hypot(x - cx, y - cy) / size;
      if (static_cast<int>(d * (8 + index % 5)) % 2 == 0 && d < 0.35f) {
        r = 255 - r;
        g = 255 - g;
        b = 255 - b;
      }
      if (y > size * 0.78f && y < size * 0.9f) r = g = b = 245;
      cover.SetPixel(x, y, Color32(r, g, b));
    }
  }
  return cover;
}

std::string FolderName(const DemoAlbum& a) {
  std::string name = std::string(a.artist) + " - " + a.album;
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':') c = '_';
  return name;
}

int RunDemoLibrary(const Args& args) {
  if (args.size() != 1) throw UsageError{"expected one folder"};
  const std::filesystem::path root(args[0]);
  int index = 0;
  for (const DemoAlbum& a : kAlbums) {
    const std::filesystem::path folder = root / FolderName(a);
    std::filesystem::create_directories(folder);
    for (int t = 0; t < 3; ++t) {
      const std::string name = std::to_string(t + 1) + " " + kSongTitles[t] + ".mp3";
      std::ofstream(folder / name, std::ios::binary) << SilentMp3(a, kSongTitles[t], t + 1);
    }
    // Every seventh album has no picture and shows the default cover; one has a bitmap.
    const bool withoutPicture = index % 7 == 6;
    if (index == 4)
      SaveBmpFile(DrawCover(index, 300), (folder / "cover.bmp").string());
    else if (!withoutPicture)
      SaveJpegFile(DrawCover(index, 400), (folder / "folder.jpg").string(), 90);
    ++index;
  }
  std::printf("%d albums written to %s\n", index, root.string().c_str());
  return 0;
}

}  // namespace

TAVIO_COMMAND("demo-library", "demo-library DIR", RunDemoLibrary);

}  // namespace tavio::tool
