#include <windows.h>

#include <vector>

#include "settings/legacy_settings_file.h"
#include "text/wide_text_win32.h"

namespace tavio {
namespace {

class TPrivateProfileFile final : public TLegacySettingsFile {
 public:
  // The wide profile functions read an old ANSI file in the system code page.
  explicit TPrivateProfileFile(const std::string& path) : path_(Widen(path)) {}

  std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) override {
    std::vector<wchar_t> buffer(kIniValueBufferSize, L'\0');
    const DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), Widen(name).c_str(), Widen(fallback).c_str(),
                                                  buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
    return Narrow(std::wstring_view(buffer.data(), length));
  }

  std::vector<std::string> ListNames(std::string_view section) override {
    std::vector<wchar_t> buffer(kIniNameListBufferSize, L'\0');
    const DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), nullptr, L"", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), path_.c_str());
    return SplitIniNameList(Narrow(std::wstring_view(buffer.data(), length)));
  }

 private:
  std::wstring path_;
};

}  // namespace

std::unique_ptr<TLegacySettingsFile> OpenLegacySettingsFile(const std::string& path) {
  return std::make_unique<TPrivateProfileFile>(path);
}

}  // namespace tavio
