// A fresh temporary folder for one test, removed with everything in it.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tavio::test {

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavio-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    path_ += '/';
  }
  ~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // Ends with '/'.
  const std::string& Path() const { return path_; }

  void Write(const std::string& name, const std::string& contents) const {
    std::ofstream(path_ + name, std::ios::binary) << contents;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ + name); }

 private:
  std::string path_;
};

}  // namespace tavio::test
