#include "player/winamp_control.h"

#include <cstring>
#include <optional>

#include "text/code_page.h"
#include "text/utf16.h"

namespace tavio {
namespace {

// One record for every AddFile of the process; filled and sent within one
// call on the window thread.
TCopyDataRecord& SharedCopyDataRecord() {
  static TCopyDataRecord record;
  return record;
}

}  // namespace

TWinAmpControl::TWinAmpControl() : messenger_(PlatformPlayerMessenger()) {}

TWinAmpControl::TWinAmpControl(TPlayerMessenger& messenger) : messenger_(messenger) {}

TWindowHandle TWinAmpControl::GoFindWinAmp() {
  Found = false;
  WindowHandle = messenger_.FindWindowOfClass(WinAmpClassName);
  Found = WindowHandle != 0;
  return WindowHandle;
}

bool TWinAmpControl::IsPlaying() { return SendCommand(kWmUser, 0, kIpcIsPlaying) > 0; }

void TWinAmpControl::Stop() { SendCommand(kWmCommand, kCommandStop, 0); }

void TWinAmpControl::ClearPlaylist() { SendCommand(kWmUser, 0, kIpcDeletePlaylist); }

void TWinAmpControl::AddFile(const std::string& path) {
  TCopyDataRecord& record = SharedCopyDataRecord();
  // A path the code page holds goes as it always did, so older players
  // still play it; only the rest needs the wide command.
  const std::optional<std::string> ansi = ExactAnsi(path);
  const std::u16string wide = ansi ? std::u16string() : Utf8ToUtf16(path);
  if (ansi) {
    record.Tag = kCopyDataPlayFile;
    record.ByteCount = static_cast<uint32_t>(ansi->size() + 1);
    record.Bytes = ansi->c_str();
  } else {
    record.Tag = kCopyDataPlayFileWide;
    record.ByteCount = static_cast<uint32_t>((wide.size() + 1) * sizeof(char16_t));
    record.Bytes = wide.c_str();
  }
  SendCommand(kWmCopyData, 0, reinterpret_cast<intptr_t>(&record));
}

void TWinAmpControl::Play() { SendCommand(kWmCommand, kCommandPlay, 0); }

std::string TWinAmpControl::PlayingFile() {
  // Longer than any path the player's interface can hold.
  constexpr size_t kMaxPathBytes = 4096;
  constexpr size_t kMaxPathUnits = 32768;
  if (GoFindWinAmp() == 0) return "";
  const intptr_t position = SendCommand(kWmUser, 0, kIpcGetListPos);
  if (position < 0) return "";
  // The wide answer holds every name; a player without it answers 0.
  if (const intptr_t wide = SendCommand(kWmUser, static_cast<uintptr_t>(position), kIpcGetPlaylistFileWide)) {
    const auto* path = reinterpret_cast<const char16_t*>(wide);
    size_t length = 0;
    while (length < kMaxPathUnits && path[length] != 0) ++length;
    return Utf16ToUtf8(std::u16string_view(path, length));
  }
  const intptr_t text = SendCommand(kWmUser, static_cast<uintptr_t>(position), kIpcGetPlaylistFile);
  if (text == 0) return "";
  const char* path = reinterpret_cast<const char*>(text);
  return AnsiToUtf8(std::string_view(path, strnlen(path, kMaxPathBytes)));
}

intptr_t TWinAmpControl::SendCommand(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return messenger_.Send(WindowHandle, message, wParam, lParam);
}

}  // namespace tavio
