// The scan where covers come from: 1,000 albums whose 500 x 500 cover is
// only embedded in the first MP3 file against the same albums with
// folder.jpg (goal: embedded at most 1.3 x), and one crowded folder of 4,000
// pictures and 4,000 MP3 files in picture mode (32 s when every picture
// listed the folder again). The trees are generated once into the temporary
// folder and reused.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "library/library_scan.h"
#include "library/ol_saveable.h"
#include "raster/bitmap32.h"
#include "raster/jpeg_file.h"

namespace {

namespace fs = std::filesystem;
using namespace tavio;
using Clock = std::chrono::steady_clock;

constexpr int kAlbumCount = 1000;
constexpr int kSongsPerAlbum = 3;
constexpr int kCrowd = 4000;
constexpr int kRuns = 3;

std::string Size32(uint32_t n) {
  return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}

std::string Frame(const char* id, const std::string& data) {
  return id + Size32(static_cast<uint32_t>(data.size())) + std::string(2, '\0') + data;
}

// An ID3v2.3 tag (with the cover when given) and a few kilobytes of audio.
std::string Mp3(int album, int track, const std::string& cover) {
  std::string frames = Frame("TIT2", std::string(1, '\0') + "Song " + std::to_string(track)) +
                       Frame("TPE1", std::string(1, '\0') + "Artist " + std::to_string(album / 3)) +
                       Frame("TALB", std::string(1, '\0') + "Album " + std::to_string(album)) +
                       Frame("TRCK", std::string(1, '\0') + std::to_string(track));
  if (!cover.empty()) frames += Frame("APIC", std::string(1, '\0') + "image/jpeg" + std::string(1, '\0') + "\x03" +
                                                   std::string(1, '\0') + cover);
  const uint32_t n = static_cast<uint32_t>(frames.size());
  std::string file = std::string("ID3\x03\x00\x00", 6) +
                     std::string{static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F),
                                 static_cast<char>((n >> 7) & 0x7F), static_cast<char>(n & 0x7F)} +
                     frames;
  for (int i = 0; i < 10; ++i) file += std::string("\xFF\xFB\x90\x44", 4) + std::string(413, '\0');
  return file;
}

std::string CoverJpeg(int album) {
  TBitmap32 cover(500, 500);
  for (int32_t y = 0; y < 500; ++y)
    for (int32_t x = 0; x < 500; ++x)
      cover.SetPixel(x, y, Color32(x / 2, (y / 2 + album) % 256, (album * 37 + (x ^ y) % 61) % 256));
  const std::vector<uint8_t> bytes = EncodeJpeg(cover, 90);
  return std::string(bytes.begin(), bytes.end());
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

fs::path Root() { return fs::temp_directory_path() / "tavio_bench_scan_cover_sources"; }

void GenerateOnce() {
  if (fs::exists(Root() / "complete")) return;
  std::fprintf(stderr, "generating the libraries in %s ...\n", Root().string().c_str());
  fs::remove_all(Root());
  for (int album = 0; album < kAlbumCount; ++album) {
    const std::string cover = CoverJpeg(album);
    const std::string name = "Album " + std::to_string(album);
    const fs::path picture = Root() / "picture" / name, embedded = Root() / "embedded" / name;
    fs::create_directories(picture);
    fs::create_directories(embedded);
    Write(picture / "folder.jpg", cover);
    for (int track = 1; track <= kSongsPerAlbum; ++track) {
      const std::string song = "0" + std::to_string(track) + " Song.mp3";
      Write(picture / song, Mp3(album, track, ""));
      Write(embedded / song, Mp3(album, track, track == 1 ? cover : ""));
    }
  }
  const fs::path crowd = Root() / "crowd" / "Everything";
  fs::create_directories(crowd);
  const std::string small = CoverJpeg(0);
  for (int i = 0; i < kCrowd; ++i) {
    Write(crowd / ("picture " + std::to_string(i) + ".jpg"), small);
    Write(crowd / ("song " + std::to_string(i) + ".mp3"), Mp3(0, i, ""));
  }
  std::ofstream(Root() / "complete") << "done\n";
}

// The best of kRuns, and the albums found.
double ScanSeconds(const std::string& library, bool scanAll, int32_t& found) {
  const fs::path plugin = Root() / "plugin";
  fs::create_directories(plugin);
  double best = 1e30;
  for (int run = 0; run < kRuns; ++run) {
    TOLSaveable albums;
    TLibraryScan scan;
    scan.SearchPaths = {(Root() / library).string()};
    scan.ScanAll = scanAll;
    scan.PluginFolder = plugin.string() + "/";
    scan.Albums = &albums;
    const Clock::time_point start = Clock::now();
    scan.Execute();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    found = albums.Count();
  }
  return best;
}

}  // namespace

int main() {
  GenerateOnce();
  for (const bool scanAll : {false, true}) {
    int32_t pictures = 0, embedded = 0;
    const double withPicture = ScanSeconds("picture", scanAll, pictures);
    const double withEmbedded = ScanSeconds("embedded", scanAll, embedded);
    std::printf("%s mode: folder.jpg %6.3f s (%d albums), embedded only %6.3f s (%d albums): %.2f x (goal 1.3 x)\n",
                scanAll ? "folder " : "picture", withPicture, pictures, withEmbedded, embedded,
                withEmbedded / withPicture);
  }
  int32_t found = 0;
  const double crowd = ScanSeconds("crowd", false, found);
  std::printf("picture mode, one folder of %d pictures and %d MP3 files: %6.3f s (%d album)\n", kCrowd, kCrowd, crowd,
              found);
  return 0;
}
