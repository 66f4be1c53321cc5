// tavio scan: the library scan run natively into DIR/Data.dat, its messages
// and progress on stderr; --windows-paths stores the paths as Wine sees them
// (--windows-prefix names another drive than Z:).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "command.h"
#include "library/library_files.h"
#include "library/library_scan.h"
#include "library/ol_saveable.h"
#include "settings/settings_keys.h"

namespace tavio::tool {
namespace {

using Clock = std::chrono::steady_clock;

struct ScanArgs {
  bool scanAll = false;  // picture mode, as the dialog starts
  bool embeddedArt = true;
  std::string windowsPrefix;  // empty: native paths
  std::string masks = kDefaultPictureMasks;
  std::string outFolder;
  std::vector<std::string> paths;
};

ScanArgs ParseScanArgs(const Args& args) {
  ScanArgs parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--folders") {
      parsed.scanAll = true;
    } else if (arg == "--pictures") {
      parsed.scanAll = false;
    } else if (arg == "--no-embedded") {
      parsed.embeddedArt = false;
    } else if (arg == "--windows-paths") {
      parsed.windowsPrefix = "Z:";
    } else if (arg == "--windows-prefix" && hasValue) {
      parsed.windowsPrefix = args[++i];
    } else if (arg == "--masks" && hasValue) {
      parsed.masks = args[++i];
    } else if (arg == "--out" && hasValue) {
      parsed.outFolder = args[++i];
    } else if (arg.starts_with("--")) {
      throw UsageError{"unknown option or missing value: " + arg};
    } else {
      parsed.paths.push_back(arg);
    }
  }
  if (parsed.outFolder.empty()) throw UsageError{"--out DIR is required"};
  if (parsed.paths.empty()) throw UsageError{"expected at least one search path"};
  return parsed;
}

// A native absolute path as the Win32 build sees it under Wine, whose drive
// Z: is the root folder: "/work/x/a.jpg" becomes "Z:\work\x\a.jpg".
std::string WinePath(const std::string& drive, std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return drive + path;
}

void ConvertToWinePaths(TOLSaveable& albums, const std::string& drive) {
  for (int32_t i = 0; i < albums.Count(); ++i)
    albums.Items(i)->CoverFile = WinePath(drive, albums.Items(i)->CoverFile);
}

// At most a few lines a second, and always the last state.
class ProgressPrinter {
 public:
  void Show(const TScanProgress& progress) {
    last_ = progress;
    const Clock::time_point now = Clock::now();
    if (now - printed_ < std::chrono::milliseconds(500)) return;
    printed_ = now;
    Print();
  }
  void Print() const { std::fprintf(stderr, "scan: %d folders, %d albums\n", last_.FoldersVisited, last_.AlbumsFound); }

 private:
  TScanProgress last_;
  Clock::time_point printed_ = Clock::now();
};

int RunScan(const Args& args) {
  const ScanArgs parsed = ParseScanArgs(args);
  std::filesystem::create_directories(parsed.outFolder);
  std::string pluginFolder = parsed.outFolder;
  if (!pluginFolder.ends_with('/')) pluginFolder += '/';

  TOLSaveable albums;
  ProgressPrinter progress;
  TLibraryScan scan;
  scan.SearchPaths = parsed.paths;
  scan.PictureMasks = parsed.masks;
  scan.ScanAll = parsed.scanAll;
  scan.EmbeddedArt = parsed.embeddedArt;
  // Only Data.dat is wanted here: the covers need not stay in memory.
  scan.CoverMemoryLimit = int64_t{settings::kDefaultCoverMemory} * 1024 * 1024;
  scan.PluginFolder = pluginFolder;
  scan.Albums = &albums;
  scan.OnMessage = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
  scan.OnProgress = [&](const TScanProgress& p) { progress.Show(p); };
  const Clock::time_point start = Clock::now();
  scan.Execute();
  progress.Print();
  std::fprintf(stderr, "scan: %.2f s\n", std::chrono::duration<double>(Clock::now() - start).count());

  // The scan ignores a failed save, as the dialog does; the tool must not.
  if (!parsed.windowsPrefix.empty()) ConvertToWinePaths(albums, parsed.windowsPrefix);
  albums.SaveToFile(pluginFolder + kAlbumsFileName);
  return 0;
}

}  // namespace

TAVIO_COMMAND("scan",
              "scan [--folders|--pictures] [--no-embedded] [--masks \"*.jpg;*.bmp\"] [--windows-paths|--windows-prefix DRIVE] "
              "--out DIR PATH...",
              RunScan);

}  // namespace tavio::tool
