// With --close-dialogs, a watcher closes every dialog or message box that
// opens and logs it, so a test sees it instead of hanging on it.
#include <windows.h>

#include <set>
#include <string>

#include "player_state.h"

namespace playerhost {
namespace {

std::set<HWND> g_reported;

BOOL CALLBACK CloseIfDialog(HWND hwnd, LPARAM) {
  char cls[32] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::string(cls) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  if (!g_reported.insert(hwnd).second) return TRUE;
  char title[256] = {}, text[1024] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  GetDlgItemTextA(hwnd, 0xFFFF, text, sizeof text);  // a message box's text
  ThePlayer().log.Write(std::string("dialog ") + title + ": " + text);
  PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
  PostMessageA(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

DWORD WINAPI WatchThread(void*) {
  for (;;) {
    EnumWindows(CloseIfDialog, 0);
    Sleep(200);
  }
}

}  // namespace

void StartDialogWatch() { CloseHandle(CreateThread(nullptr, 0, WatchThread, nullptr, 0, nullptr)); }

}  // namespace playerhost
