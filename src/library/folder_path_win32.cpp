#include <windows.h>

#include <string>
#include <vector>

#include "library/folder_path.h"
#include "text/wide_text_win32.h"

namespace tavio {

namespace {

// The wide form has no MAX_PATH limit and must not see the long-path prefix:
// the result is the path the library keeps.
std::string FullPath(const std::string& location) {
  const std::wstring wide = Widen(location);
  const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return location;
  std::vector<wchar_t> buffer(length);
  const DWORD written = GetFullPathNameW(wide.c_str(), length, buffer.data(), nullptr);
  if (written == 0 || written >= length) return location;
  return Narrow(std::wstring_view(buffer.data(), written));
}

// mpr.dll is loaded on demand so the plug-in needs no extra import library.
std::string NetworkPathOfDrive(const std::string& drive) {
  using WNetGetConnectionFn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
  const HMODULE mpr = LoadLibraryW(L"mpr.dll");
  if (!mpr) return {};
  std::string result;
  const auto getConnection =
      reinterpret_cast<WNetGetConnectionFn>(reinterpret_cast<void*>(GetProcAddress(mpr, "WNetGetConnectionW")));
  wchar_t remote[MAX_PATH + 1] = {};
  DWORD size = MAX_PATH + 1;
  if (getConnection && getConnection(Widen(drive).c_str(), remote, &size) == NO_ERROR) result = Narrow(remote);
  FreeLibrary(mpr);
  return result;
}

std::string WithNetworkDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return path;
  const std::string drive = path.substr(0, 2);
  if (GetDriveTypeW(Widen(drive + "\\").c_str()) != DRIVE_REMOTE) return path;
  const std::string remote = NetworkPathOfDrive(drive);
  return remote.empty() ? path : remote + path.substr(2);
}

}  // namespace

std::string SearchFolderPath(std::string_view location) {
  std::string path = WithNetworkDrive(FullPath(std::string(location)));
  if (path.empty() || (path.back() != '\\' && path.back() != ':')) path += '\\';
  return path;
}

bool SameFileName(std::string_view a, std::string_view b) {
  const std::wstring wa = Widen(a), wb = Widen(b);
  return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace tavio
