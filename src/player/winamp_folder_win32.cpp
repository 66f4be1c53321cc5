#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "player/winamp_control.h"
#include "text/wide_text_win32.h"

namespace tavio {
namespace {

class TKeyCloser {
 public:
  explicit TKeyCloser(HKEY key) : key_(key) {}
  ~TKeyCloser() { RegCloseKey(key_); }
  TKeyCloser(const TKeyCloser&) = delete;
  TKeyCloser& operator=(const TKeyCloser&) = delete;

 private:
  HKEY key_;
};

// The key's default value; empty when the key or the value is missing.
std::string ReadDefaultValue(const wchar_t* keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  TKeyCloser closer(key);
  DWORD type = 0;
  DWORD size = 0;
  LONG result = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) return {};
  if (result != ERROR_SUCCESS) throw std::runtime_error("Cannot read the Winamp folder from the registry");
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw std::runtime_error("Invalid data type for the Winamp folder in the registry");
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  result = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  if (result != ERROR_SUCCESS) throw std::runtime_error("Cannot read the Winamp folder from the registry");
  return Narrow(data.data());  // ends at the first zero
}

}  // namespace

std::string TWinAmpControl::GetWinampFolder() const { return ReadDefaultValue(L"Software\\Winamp") + "\\"; }

}  // namespace tavio
