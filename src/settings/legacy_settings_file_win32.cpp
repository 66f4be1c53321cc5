#include <windows.h>

#include <utility>
#include <vector>

#include "settings/legacy_settings_file.h"

namespace tavio {
namespace {

class TPrivateProfileFile final : public TLegacySettingsFile {
 public:
  explicit TPrivateProfileFile(std::string path) : path_(std::move(path)) {}

  std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) override {
    std::vector<char> buffer(kIniValueBufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), std::string(name).c_str(),
                                                  std::string(fallback).c_str(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path_.c_str());
    return std::string(buffer.data(), length);
  }

  std::vector<std::string> ListNames(std::string_view section) override {
    std::vector<char> buffer(kIniNameListBufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), nullptr, "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path_.c_str());
    return SplitIniNameList(std::string_view(buffer.data(), length));
  }

 private:
  std::string path_;
};

}  // namespace

std::unique_ptr<TLegacySettingsFile> OpenLegacySettingsFile(const std::string& path) {
  return std::make_unique<TPrivateProfileFile>(path);
}

}  // namespace tavio
