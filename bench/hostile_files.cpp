// Peak memory and time of each hostile file in the parser that takes it, one
// child process per file so each peak stands alone. bench_hostile_files
// [DIR] writes the files into DIR (a temporary folder by default).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/album.h"
#include "library/embedded_picture.h"
#include "library/song_track.h"
#include "raster/picture_file.h"
#include "settings/ini_text.h"
#include "support/hostile_files.h"

namespace {

using namespace tavio;

std::string Extension(const std::string& name) { return name.substr(name.rfind('.')); }

// The process's largest address space so far in MB: in a 32-bit process an
// allocation counts there even before its pages are touched.
double PeakAddressSpaceMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmPeak:", 0) == 0) return std::stod(line.substr(7)) / 1024.0;
  return 0;
}

// What the plug-in does with such a file; the text says how it went.
std::string Parse(const std::string& path) {
  const std::string ext = Extension(path);
  try {
    if (ext == ".jpg" || ext == ".bmp") {
      TBitmap32 picture;
      LoadFromFile(picture, path);
      return "loaded " + std::to_string(picture.Width()) + " x " + std::to_string(picture.Height());
    }
    if (ext == ".mp3") {
      // The album's texts, then the song's track, as the song list reads them.
      TAlbum album;
      album.ReadTags(path);
      TID3v2Tag v2;
      TID3v1Tag v1;
      TSong song;
      song.FileName = path;
      ReadSongTrackAndTitle(song, v2, v1);
      // And the cover, as the scan reads it where no picture file is.
      const size_t picture = ReadEmbeddedPicture(path).size();
      return "tags read, " + std::to_string(v2.Frames().size()) + " frames, picture of " + std::to_string(picture) +
             " bytes";
    }
    if (ext == ".ini") {
      TIniText ini = TIniText::FromFile(path);
      return std::to_string(ini.ListNames(std::string(65536, 'S')).size()) + " names";
    }
  } catch (const std::exception& e) {
    std::string text = std::string("refused: ") + e.what();
    return text.size() > 90 ? text.substr(0, 87) + "..." : text;
  }
  return "no parser";
}

void Measure(const std::string& path) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    const std::string parsed = Parse(path);
    const std::string result = std::to_string(PeakAddressSpaceMb()) + "|" + parsed;
    if (write(pipeEnds[1], result.data(), result.size()) < 0) _exit(2);
    _exit(0);
  }
  close(pipeEnds[1]);
  char text[256] = {};
  const ssize_t got = read(pipeEnds[0], text, sizeof text - 1);
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::string reply = got > 0 ? text : "0|(child died)";
  const size_t bar = reply.find('|');
  std::printf("%-32s %7.1f MB %7.1f MB %6.2f s  %s\n", std::filesystem::path(path).filename().c_str(),
              usage.ru_maxrss / 1024.0, std::stod(reply.substr(0, bar)), seconds, reply.substr(bar + 1).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : "";
  const bool ownFolder = folder.empty();
  if (ownFolder) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavio-hostile-XXXXXX").string();
    folder = mkdtemp(pattern.data());
  }
  folder += '/';
  std::printf("per file: peak resident set, peak address space, time, what the parser made of it\n"
              "(the process starts at about %.1f MB resident)\n",
              [] {
                rusage self{};
                getrusage(RUSAGE_SELF, &self);
                return self.ru_maxrss / 1024.0;
              }());
  for (const test::THostileFile& file : test::HostileFiles()) {
    const std::string path = folder + file.Name;
    if (!std::filesystem::exists(path)) file.Write(path);
    Measure(path);
  }
  if (ownFolder) std::filesystem::remove_all(folder);
  return 0;
}
