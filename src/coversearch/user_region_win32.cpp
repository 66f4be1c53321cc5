#include <windows.h>

#include <string>

#include "coversearch/user_region.h"

namespace tavio {

namespace {

// The system's answer, without its terminating zero; anything beyond ASCII
// becomes a character TwoLetterRegion refuses, so a numeric area such as
// "001" or a stray letter never counts as a country.
std::string AsciiRegion(const wchar_t* text, int lengthWithZero) {
  std::string out;
  for (int i = 0; i + 1 < lengthWithZero; ++i) out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return TwoLetterRegion(out);
}

// Windows 10 1709 and later; looked up at run time so older systems still load the module.
std::string DefaultGeoName() {
  using TGetUserDefaultGeoName = int(WINAPI*)(LPWSTR, int);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto get = kernel ? reinterpret_cast<TGetUserDefaultGeoName>(
                                reinterpret_cast<void*>(GetProcAddress(kernel, "GetUserDefaultGeoName")))
                          : nullptr;
  if (!get) return "";
  wchar_t name[16] = {};
  return AsciiRegion(name, get(name, 16));
}

std::string NationIso2() {
  const GEOID nation = GetUserGeoID(GEOCLASS_NATION);
  if (nation == GEOID_NOT_AVAILABLE) return "";
  wchar_t code[8] = {};
  return AsciiRegion(code, GetGeoInfoW(nation, GEO_ISO2, code, 8, 0));
}

}  // namespace

std::string UserRegion() {
  const std::string name = DefaultGeoName();
  return name.empty() ? NationIso2() : name;
}

}  // namespace tavio
