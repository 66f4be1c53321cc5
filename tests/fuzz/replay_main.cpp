// Runs a fuzz target once over every file of the folders (or files) given,
// without libFuzzer: the corpus replay of the ordinary test run. A folder
// that does not exist adds nothing. Files are mapped, not copied, so a large
// sparse input costs only what the target reads.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const auto size = static_cast<size_t>(std::filesystem::file_size(file));
  void* mapped = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
  close(fd);
  if (size > 0 && mapped == MAP_FAILED) return false;
  static const uint8_t kEmpty = 0;
  LLVMFuzzerTestOneInput(size > 0 ? static_cast<const uint8_t*>(mapped) : &kEmpty, size);
  if (size > 0) munmap(mapped, size);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg = argv[i];
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg))
        if (entry.is_regular_file()) files.push_back(entry.path());
    } else if (std::filesystem::exists(arg)) {
      files.push_back(arg);
    }
  }
  std::sort(files.begin(), files.end());
  int failed = 0;
  for (const auto& file : files) {
    std::printf("%s\n", file.c_str());
    std::fflush(stdout);
    if (!Replay(file)) {
      std::printf("  cannot read it\n");
      ++failed;
    }
  }
  std::printf("%zu inputs replayed\n", files.size());
  return failed == 0 && !files.empty() ? 0 : 1;
}
