// The library scan over 1,000 album folders (500 x 500 JPEG cover, three
// small MP3 files each) in both modes, next to decoding the same covers alone
// and to reading the tags of every MP3 file, and the scan as the settings
// dialog runs it beside its own thread. The tree is generated once into the
// temporary folder and reused.
#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "library/album.h"
#include "library/library_scan.h"
#include "library/ol_saveable.h"
#include "raster/bitmap32.h"
#include "raster/jpeg_file.h"
#include "raster/picture_file.h"
#include "settings/background_scan.h"
#include "settings/config_model.h"

namespace {

namespace fs = std::filesystem;
using namespace tavio;
using Clock = std::chrono::steady_clock;

constexpr int kAlbumCount = 1000;
constexpr int kCoverSide = 500;
constexpr int kSongsPerAlbum = 3;
constexpr int kRuns = 5;

std::string Syncsafe(uint32_t n) {
  return {static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F), static_cast<char>((n >> 7) & 0x7F),
          static_cast<char>(n & 0x7F)};
}

std::string TextFrame(const char* id, const std::string& text) {
  const uint32_t size = static_cast<uint32_t>(text.size() + 1);
  std::string frame = id;
  frame += {static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8),
            static_cast<char>(size)};
  frame += std::string("\0\0\0", 3);  // flags, ISO-8859-1
  return frame + text;
}

// An ID3v2.3 tag and a few kilobytes of silent frames.
std::string Mp3(int album, int track) {
  const std::string frames = TextFrame("TIT2", "Song " + std::to_string(track)) +
                             TextFrame("TPE1", "Artist " + std::to_string(album / 3)) +
                             TextFrame("TALB", "Album " + std::to_string(album)) +
                             TextFrame("TYER", std::to_string(1950 + album % 70)) +
                             TextFrame("TCON", album % 5 == 0 ? "Jazz" : "Rock") +
                             TextFrame("TRCK", std::to_string(track) + "/3");
  std::string file = "ID3" + std::string("\x03\x00\x00", 3) + Syncsafe(static_cast<uint32_t>(frames.size())) + frames;
  const std::string header("\xFF\xFB\x90\x44", 4);
  for (int i = 0; i < 10; ++i) file += header + std::string(413, '\0');
  return file;
}

// Gradients, rings and noise-like detail, so the JPEG has a realistic size.
TBitmap32 Cover(int album) {
  TBitmap32 cover(kCoverSide, kCoverSide);
  const float cx = kCoverSide * (0.3f + 0.04f * (album % 10)), cy = kCoverSide * 0.5f;
  for (int32_t y = 0; y < kCoverSide; ++y) {
    for (int32_t x = 0; x < kCoverSide; ++x) {
      const float d = std::hypot(x - cx, y - cy);
      const uint32_t ring = static_cast<uint32_t>(d / (6 + album % 7)) % 2 * 90;
      cover.SetPixel(x, y, Color32((x * 255) / kCoverSide, (y * 255 / kCoverSide + ring) % 256,
                                   (album * 37 + (x ^ y) % 61 + ring) % 256));
    }
  }
  return cover;
}

std::string SongName(int track) {
  char name[32];
  std::snprintf(name, sizeof name, "%02d Song.mp3", track);
  return name;
}

fs::path LibraryFolder() { return fs::temp_directory_path() / "tavio_bench_library_scan"; }

std::string AlbumFolder(int album) {
  char name[64];
  std::snprintf(name, sizeof name, "Artist %03d - Album %04d", album / 3, album);
  return (LibraryFolder() / name).string();
}

void GenerateLibraryOnce() {
  const fs::path complete = LibraryFolder() / "complete";
  if (fs::exists(complete)) return;
  std::fprintf(stderr, "generating %d album folders in %s ...\n", kAlbumCount, LibraryFolder().string().c_str());
  fs::remove_all(LibraryFolder());
  for (int album = 0; album < kAlbumCount; ++album) {
    const fs::path folder = AlbumFolder(album);
    fs::create_directories(folder);
    for (int track = 1; track <= kSongsPerAlbum; ++track) {
      const std::string bytes = Mp3(album, track);
      std::ofstream(folder / SongName(track), std::ios::binary)
          .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    SaveJpegFile(Cover(album), (folder / "folder.jpg").string(), 90);
  }
  std::ofstream(complete) << "done\n";
}

struct Seconds {
  double wall = 1e30;
  double cpu = 1e30;  // this process, user and system; shows what other load on the machine hides
};

// The best of kRuns.
Seconds BestSeconds(const std::function<void()>& work) {
  Seconds best;
  for (int run = 0; run < kRuns; ++run) {
    const Clock::time_point start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    work();
    best.cpu = std::min(best.cpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

Seconds ScanSeconds(bool scanAll, int32_t& albumsFound) {
  const fs::path plugin = fs::temp_directory_path() / "tavio_bench_library_scan_plugin";
  fs::create_directories(plugin);
  return BestSeconds([&] {
    TOLSaveable albums;
    TLibraryScan scan;
    scan.SearchPaths = {LibraryFolder().string()};
    scan.ScanAll = scanAll;
    scan.PluginFolder = plugin.string() + "/";
    scan.Albums = &albums;
    scan.Execute();
    albumsFound = albums.Count();
  });
}

// The dialog's thread: a round of its messages every 16 ms, as a window
// repainting at 60 Hz would get them.
class TDialogThread {
 public:
  void Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  // Runs what was posted; returns the seconds it took.
  double Round() {
    std::deque<std::function<void()>> ready;
    {
      std::lock_guard lock(mutex_);
      ready.swap(tasks_);
    }
    const Clock::time_point start = Clock::now();
    for (auto& task : ready) task();
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
};

struct DialogScanFigures {
  double wall = 0;
  int32_t albums = 0;
  int repaints = 0;       // progress shown, each a repaint of the progress text
  double longestRound = 0;  // the longest the dialog's thread was kept from its messages
};

DialogScanFigures DialogScan() {
  const fs::path plugin = fs::temp_directory_path() / "tavio_bench_library_scan_plugin";
  fs::create_directories(plugin);
  DialogScanFigures figures;
  TDialogThread dialogThread;
  TConfigModel dialog;
  TOLSaveable albums, hidden;
  dialog.SetAlbums(albums);
  dialog.SetHiddenAlbums(hidden);
  dialog.PluginFolder = plugin.string() + "/";
  dialog.SearchPaths = {LibraryFolder().string()};
  TBackgroundScan scan([&](std::function<void()> task) { dialogThread.Post(std::move(task)); });
  bool finished = false;
  scan.OnProgress = [&](const TScanProgress&) { ++figures.repaints; };
  scan.OnFinished = [&](std::unique_ptr<TOLSaveable> found, const std::vector<std::string>&, const std::string&) {
    if (found) dialog.FinishScan(*found, nullptr);
    finished = true;
  };
  const Clock::time_point start = Clock::now();
  dialog.BeginScan();
  scan.Start(dialog.NewScan());
  while (!finished) {
    std::this_thread::sleep_for(std::chrono::milliseconds(16));
    figures.longestRound = std::max(figures.longestRound, dialogThread.Round());
  }
  figures.wall = std::chrono::duration<double>(Clock::now() - start).count();
  figures.albums = albums.Count();
  return figures;
}

void PrintDialogScan() {
  const DialogScanFigures fromDialog = DialogScan();
  std::printf("scan from dialog  : %6.3f s for %d albums, %d repaints of its progress (%.0f per s), "
              "dialog's thread busy %.1f ms at most at a time (hand-over and save included)\n",
              fromDialog.wall, fromDialog.albums, fromDialog.repaints, fromDialog.repaints / fromDialog.wall,
              fromDialog.longestRound * 1000);
}

}  // namespace

// "bench_library_scan folders" or "... pictures" runs that scan alone, for a
// profiler; "... dialog" the scan from the settings dialog alone.
int main(int argc, char** argv) {
  GenerateLibraryOnce();
  if (argc == 2 && std::string(argv[1]) == "dialog") {
    PrintDialogScan();
    return 0;
  }
  if (argc == 2) {
    int32_t found = 0;
    const Seconds scan = ScanSeconds(std::string(argv[1]) == "folders", found);
    std::printf("%s: %.3f s for %d albums\n", argv[1], scan.wall, found);
    return 0;
  }

  const Seconds decode = BestSeconds([] {
    TBitmap32 cover;
    for (int album = 0; album < kAlbumCount; ++album) LoadFromFile(cover, AlbumFolder(album) + "/folder.jpg");
  });
  std::printf("decode alone      : %6.3f s (cpu %6.3f s) for %d covers (%.0f covers/s)\n", decode.wall, decode.cpu,
              kAlbumCount, kAlbumCount / decode.wall);

  // What keeping every cover costs by itself: the scan must, the decode
  // alone reuses one buffer.
  const Seconds keep = BestSeconds([] {
    std::vector<TBitmap32> covers(kAlbumCount);
    for (int album = 0; album < kAlbumCount; ++album) LoadFromFile(covers[album], AlbumFolder(album) + "/folder.jpg");
  });
  std::printf("decode and keep   : %6.3f s (cpu %6.3f s), %.2f x decode alone\n", keep.wall, keep.cpu,
              keep.wall / decode.wall);

  for (const bool scanAll : {false, true}) {
    int32_t found = 0;
    const Seconds scan = ScanSeconds(scanAll, found);
    std::printf("scan, %s mode: %6.3f s (cpu %6.3f s) for %d albums (%.0f albums/s), %.2f x decode alone "
                "(cpu %.2f x; goal 1.5 x)\n",
                scanAll ? "folder " : "picture", scan.wall, scan.cpu, found, found / scan.wall, scan.wall / decode.wall,
                scan.cpu / decode.cpu);
  }

  PrintDialogScan();

  const Seconds tags = BestSeconds([] {
    TAlbum album;
    for (int a = 0; a < kAlbumCount; ++a)
      for (int track = 1; track <= kSongsPerAlbum; ++track) album.ReadTags(AlbumFolder(a) + "/" + SongName(track));
  });
  const int files = kAlbumCount * kSongsPerAlbum;
  std::printf("tag reading       : %6.3f s for %d files (%.0f files/s)\n", tags.wall, files, files / tags.wall);
  return 0;
}
