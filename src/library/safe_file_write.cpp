#include "library/safe_file_write.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

#include "library/data_file_error.h"
#include "library/file_access.h"

namespace tavio {
namespace {

// Tries before giving up: only a name taken at every try, or a folder that
// cannot take a new file, runs out of them.
constexpr int kNameTries = 16;

// A name nobody can plant in advance: a link put at a name we will use would
// have the save write through it into another file.
std::string TemporaryName(const std::string& path) {
  static std::atomic<uint32_t> counter{0};
  static const uint32_t seed = std::random_device{}();
  const auto ticks = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::mt19937 mix(seed ^ static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(ticks >> 32) ^ (++counter * 2654435761u));
  char token[24];
  std::snprintf(token, sizeof token, ".%08x%08x", static_cast<unsigned>(mix()), static_cast<unsigned>(mix()));
  return path + token + ".tmp";
}

// A new file beside path, made exclusively.
std::unique_ptr<TFileStream> CreateTemporary(const std::string& path, std::string& name) {
  for (int attempt = 1;; ++attempt) {
    name = TemporaryName(path);
    try {
      return std::make_unique<TFileStream>(name, TFileStream::Mode::CreateNew);
    } catch (const EDataFileError&) {
      if (attempt == kNameTries) throw EDataFileError("Cannot create a file beside \"" + path + "\"");
    }
  }
}

}  // namespace

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write) {
  std::string temporary;
  std::unique_ptr<TFileStream> stream = CreateTemporary(path, temporary);
  try {
    write(*stream);
    stream->Close();
    if (!MoveFileReplacing(temporary, path)) throw EDataFileError("Cannot replace file \"" + path + "\"");
  } catch (...) {
    stream.reset();
    DeleteFileAt(temporary);
    throw;
  }
}

}  // namespace tavio
