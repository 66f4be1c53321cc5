#include <windows.h>

#include <string>
#include <vector>

#include "library/folder_path.h"

namespace tavio {

namespace {

std::string FullPath(const std::string& location) {
  const DWORD length = GetFullPathNameA(location.c_str(), 0, nullptr, nullptr);
  if (length == 0) return location;
  std::vector<char> buffer(length);
  const DWORD written = GetFullPathNameA(location.c_str(), length, buffer.data(), nullptr);
  if (written == 0 || written >= length) return location;
  return std::string(buffer.data(), written);
}

// mpr.dll is loaded on demand so the plug-in needs no extra import library.
std::string NetworkPathOfDrive(const std::string& drive) {
  using WNetGetConnectionFn = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);
  const HMODULE mpr = LoadLibraryA("mpr.dll");
  if (!mpr) return {};
  std::string result;
  const auto getConnection = reinterpret_cast<WNetGetConnectionFn>(
      reinterpret_cast<void*>(GetProcAddress(mpr, "WNetGetConnectionA")));
  char remote[MAX_PATH + 1] = {};
  DWORD size = sizeof remote;
  if (getConnection && getConnection(drive.c_str(), remote, &size) == NO_ERROR) result = remote;
  FreeLibrary(mpr);
  return result;
}

std::string WithNetworkDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return path;
  const std::string drive = path.substr(0, 2);
  if (GetDriveTypeA((drive + "\\").c_str()) != DRIVE_REMOTE) return path;
  const std::string remote = NetworkPathOfDrive(drive);
  return remote.empty() ? path : remote + path.substr(2);
}

std::wstring Utf16Of(std::string_view text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::string SearchFolderPath(std::string_view location) {
  std::string path = WithNetworkDrive(FullPath(std::string(location)));
  if (path.empty() || (path.back() != '\\' && path.back() != ':')) path += '\\';
  return path;
}

bool SameFileName(std::string_view a, std::string_view b) {
  const std::wstring wa = Utf16Of(a), wb = Utf16Of(b);
  return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(), static_cast<int>(wb.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace tavio
