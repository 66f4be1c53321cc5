// For fuzz targets whose parser takes a file name: the input written to one
// file of this process (in memory-backed /dev/shm where there is one).
#pragma once
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tavio::fuzz {

// The file's name ends in suffix; it is removed when the process ends.
inline const std::string& WriteInputFile(const uint8_t* data, size_t size, const std::string& suffix) {
  static std::string path;
  static std::string pathSuffix;
  if (pathSuffix != suffix) {
    if (!path.empty()) std::remove(path.c_str());
    const std::filesystem::path folder = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                              : std::filesystem::temp_directory_path();
    path = (folder / ("tavio-fuzz-" + std::to_string(getpid()) + suffix)).string();
    pathSuffix = suffix;
    static const struct TRemover {
      ~TRemover() {
        if (!path.empty()) std::remove(path.c_str());
      }
    } remover;
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

}  // namespace tavio::fuzz
