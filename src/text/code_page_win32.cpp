// The system ANSI code page through the Win32 conversions. Best-fit mapping
// is switched off: a character the code page lacks becomes '?', never a
// look-alike (a look-alike slash or dot in a path would be a different path).
#include <windows.h>

#include "text/code_page.h"
#include "text/utf8.h"

namespace tavio {

static std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int count = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (count <= 0) return {};
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), count);
  return wide;
}

static std::string FromWide(UINT codePage, const wchar_t* text, size_t length) {
  if (length == 0) return {};
  const int size = static_cast<int>(length);
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  const int count = WideCharToMultiByte(codePage, flags, text, size, nullptr, 0, fallback, nullptr);
  if (count <= 0) return {};
  std::string out(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(codePage, flags, text, size, out.data(), count, fallback, nullptr);
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  const std::wstring wide = ToWide(CP_UTF8, utf8);
  return FromWide(CP_ACP, wide.data(), wide.size());
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
  return FromWide(CP_ACP, reinterpret_cast<const wchar_t*>(utf16.data()), utf16.size());
}

std::optional<std::string> ExactAnsi(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  const std::wstring wide = ToWide(CP_UTF8, utf8);
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int count =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
  if (count <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<size_t>(count), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), count, nullptr, &usedDefault);
  // Some code pages map a character one way only; the way back must agree.
  if (usedDefault || ToWide(CP_ACP, ansi) != wide) return std::nullopt;
  return ansi;
}

std::string AnsiToUtf8(std::string_view ansi) {
  // Every ANSI code page keeps ASCII as it is; most texts are ASCII.
  if (IsAscii(ansi)) return std::string(ansi);
  const std::wstring wide = ToWide(CP_ACP, ansi);
  return FromWide(CP_UTF8, wide.data(), wide.size());
}

}  // namespace tavio
