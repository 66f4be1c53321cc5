// playerhost: plays the player's part for vis_Tavio.dll. The player window
// lives on the main thread; the plug-in runs on a separate vis thread.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "player_state.h"

namespace playerhost {

Player& ThePlayer() {
  static Player player;
  return player;
}

void MessageLog::Open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "w");
}

void MessageLog::Write(const std::string& line) {
  std::lock_guard lock(mutex_);
  if (!file_) return;
  std::fputs(line.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

namespace {

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (a == "--plugin") o.plugin = next();
    else if (a == "--winamp-dir") o.winampDir = next();
    else if (a == "--log") o.logFile = next();
    else if (a == "--actions") o.actionsFile = next();
    else if (a == "--playing") o.playing = true;
    else if (a == "--playing-file") o.playingFile = next();
    else if (a == "--close-dialogs") o.closeDialogs = true;
    else if (a == "--no-embed") o.noEmbedding = true;
    else return false;
  }
  return true;
}

// The plug-in finds its folder below the player's, as in the real player.
void RegisterWinampFolder(const std::string& folder) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Winamp", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);
}

// Keeps answering cross-thread messages while waiting for a thread to end.
void WaitPumping(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace
}  // namespace playerhost

int main(int argc, char** argv) {
  using namespace playerhost;
  Player& p = ThePlayer();
  if (!ParseOptions(argc, argv, p.options) || p.options.plugin.empty()) {
    MessageBoxA(nullptr,
                "usage: playerhost.exe --plugin PATH [--winamp-dir DIR] [--playing] [--playing-file FILE] [--log FILE] "
                "[--actions FILE] [--close-dialogs] [--no-embed]",
                "playerhost", MB_OK);
    return 2;
  }
  if (!p.options.logFile.empty()) p.log.Open(p.options.logFile);
  if (!p.options.playingFile.empty()) SetPlayingFile(p.options.playingFile);
  RegisterWinampFolder(p.options.winampDir.empty() ? OwnFolder() : p.options.winampDir);

  p.mainWindow = CreatePlayerWindow(GetModuleHandleA(nullptr));
  StartDialogWatch();
  HANDLE vis = StartVisThread();
  HANDLE script = p.options.actionsFile.empty() ? nullptr : StartActionScript();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The player window is closing: end the plug-in, then the script.
  p.closing = true;
  if (const DWORD id = p.visThreadId) PostThreadMessageA(id, WM_QUIT, 0, 0);
  WaitPumping(vis);
  CloseHandle(vis);
  if (script) {
    WaitForSingleObject(script, 5000);
    CloseHandle(script);
  }
  return 0;
}
