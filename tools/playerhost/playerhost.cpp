// playerhost: plays the player's part for vis_Tavio.dll. The player window
// lives on the main thread; the plug-in runs on a separate vis thread. Its
// arguments, script and log are UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "player_state.h"
#include "text/open_file.h"
#include "text/wide_text_win32.h"

namespace playerhost {

Player& ThePlayer() {
  static Player player;
  return player;
}

void MessageLog::Open(const std::string& path) { file_ = tavio::OpenFile(path, "w"); }

void MessageLog::Write(const std::string& line) {
  std::lock_guard lock(mutex_);
  if (!file_) return;
  std::fputs(line.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

namespace {

std::string OwnFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  const std::string folder = tavio::Narrow(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

// The command line in UTF-8, whatever the code page: the wide form is the whole one.
std::vector<std::string> Arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(tavio::Narrow(wide[i]));
  LocalFree(wide);
  return arguments;
}

bool ParseOptions(const std::vector<std::string>& argv, Options& o) {
  const int argc = static_cast<int>(argv.size());
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
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Winamp", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  const std::wstring wide = tavio::Widen(folder);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                 static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// Asks the vis thread to end and keeps answering cross-thread messages until
// it has. A player closed at once may find the thread without its queue yet,
// so the request goes out as soon as the thread has one.
void EndVisThread(HANDLE thread) {
  bool asked = false;
  for (;;) {
    if (!asked && ThePlayer().visThreadId) asked = PostThreadMessageW(ThePlayer().visThreadId, WM_QUIT, 0, 0) != 0;
    const DWORD woke = MsgWaitForMultipleObjects(1, &thread, FALSE, asked ? INFINITE : 50, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace
}  // namespace playerhost

int main() {
  using namespace playerhost;
  Player& p = ThePlayer();
  if (!ParseOptions(Arguments(), p.options) || p.options.plugin.empty()) {
    MessageBoxW(
        nullptr,
        L"usage: playerhost.exe --plugin PATH [--winamp-dir DIR] [--playing] [--playing-file FILE] [--log FILE] "
        L"[--actions FILE] [--close-dialogs] [--no-embed]",
        L"playerhost", MB_OK);
    return 2;
  }
  if (!p.options.logFile.empty()) p.log.Open(p.options.logFile);
  if (!p.options.playingFile.empty()) SetPlayingFile(p.options.playingFile);
  RegisterWinampFolder(p.options.winampDir.empty() ? OwnFolder() : p.options.winampDir);

  p.mainWindow = CreatePlayerWindow(GetModuleHandleW(nullptr));
  StartDialogWatch();
  HANDLE vis = StartVisThread();
  HANDLE script = p.options.actionsFile.empty() ? nullptr : StartActionScript();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // The player window is closing: end the plug-in, then the script.
  p.closing = true;
  EndVisThread(vis);
  CloseHandle(vis);
  if (script) {
    WaitForSingleObject(script, 5000);
    CloseHandle(script);
  }
  return 0;
}
