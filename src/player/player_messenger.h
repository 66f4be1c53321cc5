// TPlayerMessenger: the window search and synchronous send through which the
// plug-in talks to the player's main window. Tests put a recorder in its place.
#pragma once
#include <cstdint>
#include <string>

namespace tavio {

using TWindowHandle = uintptr_t;

// Message numbers and codes of the player's window-message interface.
inline constexpr uint32_t kWmCopyData = 0x004A;
inline constexpr uint32_t kWmCommand = 0x0111;
inline constexpr uint32_t kWmUser = 0x0400;
inline constexpr intptr_t kIpcIsPlaying = 104;
inline constexpr intptr_t kIpcDeletePlaylist = 101;
inline constexpr intptr_t kIpcGetListPos = 125;
// The path of a playlist entry, as a pointer into the player's memory: in
// the code page, or in UTF-16 from players that know the wide form.
inline constexpr intptr_t kIpcGetPlaylistFile = 211;
inline constexpr intptr_t kIpcGetPlaylistFileWide = 214;
inline constexpr uintptr_t kCommandPlay = 40045;
inline constexpr uintptr_t kCommandStop = 40047;
// The path in the system code page with its zero; the wide form in UTF-16.
inline constexpr uintptr_t kCopyDataPlayFile = 100;
inline constexpr uintptr_t kCopyDataPlayFileWide = 1100;

// Same layout as the Win32 COPYDATASTRUCT, so its address can go out as lParam.
struct TCopyDataRecord {
  uintptr_t Tag = 0;
  uint32_t ByteCount = 0;
  const void* Bytes = nullptr;
};

class TPlayerMessenger {
 public:
  virtual ~TPlayerMessenger() = default;
  // A top-level window of that class with any title; 0 when there is none.
  virtual TWindowHandle FindWindowOfClass(const std::string& className) = 0;
  // Returns once the window has handled the message, with its reply.
  virtual intptr_t Send(TWindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

// The real window system on Windows; natively there is no player, so the
// search finds nothing.
TPlayerMessenger& PlatformPlayerMessenger();

}  // namespace tavio
