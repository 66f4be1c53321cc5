// The library scan through the Win32 file functions under Wine: 400 album
// folders of three small MP3 files and an 8 x 8 cover each (so the file
// system, not the decoder, is what is timed), named in ASCII, named in
// Japanese and Cyrillic, and lying deeper than MAX_PATH. Prints the best of
// five runs for each tree.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

constexpr int kAlbumCount = 400;
constexpr int kSongsPerAlbum = 3;
constexpr int kRuns = 5;

// A path from UTF-8, whatever the code page.
fs::path Utf8Path(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8Of(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string Mp3(int album, int track) {
  const std::string title = "Song " + std::to_string(track) + " of " + std::to_string(album);
  const uint32_t size = static_cast<uint32_t>(title.size() + 1);
  const std::string frame = "TIT2" + std::string{0, 0, 0, static_cast<char>(size)} + std::string(3, '\0') + title;
  return "ID3" + std::string{3, 0, 0, 0, 0, 0, static_cast<char>(frame.size())} + frame + std::string(2048, '\0');
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The C library reaches past MAX_PATH only by the extended form.
fs::path Extended(const fs::path& path) { return fs::path(L"\\\\?\\" + fs::absolute(path).wstring()); }

// The tree below root, album folders named by albumName.
void MakeTree(const fs::path& root, const std::string& albumName) {
  TBitmap32 cover(8, 8);
  cover.Clear(Color32(40, 120, 200));
  const std::vector<uint8_t> jpeg = EncodeJpeg(cover);
  const std::string jpegBytes(jpeg.begin(), jpeg.end());
  for (int a = 0; a < kAlbumCount; ++a) {
    const fs::path folder = root / Utf8Path(albumName + " " + std::to_string(a));
    fs::create_directories(folder);
    for (int s = 0; s < kSongsPerAlbum; ++s)
      Write(folder / Utf8Path("Track " + std::to_string(s) + ".mp3"), Mp3(a, s));
    Write(folder / "folder.jpg", jpegBytes);
  }
}

// root is the tree's plain path, as the scan gets it from the settings.
void TimeScan(const char* what, const fs::path& root) {
  double best = 1e9;
  int32_t found = 0;
  for (int run = 0; run < kRuns; ++run) {
    TOLSaveable albums;
    TLibraryScan scan;
    scan.SearchPaths = {Utf8Of(root)};
    scan.ScanAll = true;
    scan.PluginFolder = Utf8Of(root) + "\\";
    scan.Albums = &albums;
    const auto start = Clock::now();
    scan.Execute();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    found = albums.Count();
  }
  std::printf("%-28s %4d albums  best of %d: %7.1f ms  (%.3f ms per album)\n", what, found, kRuns, best,
              best / std::max(found, 1));
}

}  // namespace

int main() {
  const fs::path base = fs::temp_directory_path() / "tavio_bench_wine_scan";
  std::error_code ignored;
  fs::remove_all(Extended(base), ignored);
  const fs::path ascii = base / "ascii";
  const fs::path scripts = base / "scripts";
  fs::path deep = base / "deep";
  while (Utf8Of(deep).size() < 300) deep /= "A folder name of some length";
  MakeTree(ascii, "Album");
  MakeTree(scripts, "日本語のアルバム Альбом");
  MakeTree(Extended(deep), "Album");
  TimeScan("ASCII names", ascii);
  TimeScan("Japanese and Cyrillic names", scripts);
  TimeScan("deeper than MAX_PATH", deep);
  fs::remove_all(Extended(base), ignored);
  return 0;
}
