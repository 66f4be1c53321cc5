// The dialogs and message boxes of this process: each is logged as it opens
// ("dialog CAPTION", then "message TEXT" for a message box); with
// --close-dialogs the watcher closes those no script line is waiting to
// drive, so a test sees them instead of hanging on them. The script's dialog
// verbs find their buttons and tabs here.
#include <windows.h>

#include <commctrl.h>

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "player_state.h"
#include "text/wide_text_win32.h"

namespace playerhost {
namespace {

std::mutex g_mutex;
std::set<HWND> g_reported;

std::string ClassOf(HWND hwnd) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return tavio::Narrow(cls);
}

// In UTF-8, as the log and the script spell texts.
std::string TextOf(HWND hwnd) {
  wchar_t text[1024] = {};
  GetWindowTextW(hwnd, text, 1024);
  return tavio::Narrow(text);
}

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && ClassOf(hwnd) == "#32770")
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
  return TRUE;
}

// Visible dialogs of this process, topmost first.
std::vector<HWND> OpenDialogs() {
  std::vector<HWND> found;
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

BOOL CALLBACK CollectPluginWindow(HWND hwnd, LPARAM out) {
  const Player& p = ThePlayer();
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && hwnd != p.mainWindow && hwnd != p.frameWindow)
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
  return TRUE;
}

// What the dialog verbs work on: the visible top-level windows of this
// process besides the player's own two, topmost first. Dialogs made from a
// window class of their own count as well as standard ones.
std::vector<HWND> PluginWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectPluginWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string OneLine(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
  }
  return out;
}

std::string WithoutAmpersands(const std::string& caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  return out;
}

// Logs the dialogs that opened since the last call; returns all open ones.
std::vector<HWND> ReportNewDialogs() {
  const std::vector<HWND> open = OpenDialogs();
  std::lock_guard lock(g_mutex);
  for (HWND hwnd : open) {
    if (!g_reported.insert(hwnd).second) continue;
    ThePlayer().log.Write("dialog " + TextOf(hwnd));
    // A message box's text is the static control 0xFFFF.
    if (const HWND text = GetDlgItem(hwnd, 0xFFFF)) ThePlayer().log.Write("message " + OneLine(TextOf(text)));
  }
  return open;
}

struct TButtonSearch {
  std::string caption;
  HWND found = nullptr;
};

BOOL CALLBACK TakeIfButton(HWND child, LPARAM data) {
  auto* s = reinterpret_cast<TButtonSearch*>(data);
  if (_stricmp(ClassOf(child).c_str(), "Button") != 0 || !IsWindowVisible(child) || !IsWindowEnabled(child))
    return TRUE;
  if (WithoutAmpersands(TextOf(child)) != s->caption) return TRUE;
  s->found = child;
  return FALSE;
}

HWND FindButton(HWND dialog, const std::string& caption) {
  TButtonSearch search{caption};
  EnumChildWindows(dialog, TakeIfButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK TakeIfTabs(HWND child, LPARAM out) {
  if (ClassOf(child) != WC_TABCONTROLA) return TRUE;
  *reinterpret_cast<HWND*>(out) = child;
  return FALSE;
}

HWND FindTabs(HWND dialog) {
  HWND found = nullptr;
  EnumChildWindows(dialog, TakeIfTabs, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A push button reports its click to its parent, as a mouse click would;
// check boxes and radio buttons are clicked, so they change their state.
void Press(HWND button) {
  const LONG_PTR type = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
    const int id = GetDlgCtrlID(button);
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  } else {
    PostMessageW(button, BM_CLICK, 0, 0);
  }
}

DWORD WINAPI WatchThread(void*) {
  Player& p = ThePlayer();
  std::set<HWND> closed;
  for (;;) {
    for (HWND hwnd : ReportNewDialogs()) {
      if (!p.options.closeDialogs || p.dialogVerbsLeft > 0 || !closed.insert(hwnd).second) continue;
      PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    Sleep(200);
  }
}

template <typename Fn>
bool WaitForDialog(Fn&& tryOnce) {
  for (int waited = 0; waited <= kDialogWaitMs; waited += 100) {
    const std::vector<HWND> windows = PluginWindows();
    // After the windows are taken: a box that opened just now is logged
    // before its button is pressed.
    ReportNewDialogs();
    for (HWND dialog : windows)
      if (tryOnce(dialog)) return true;
    Sleep(100);
  }
  return false;
}

}  // namespace

bool PressDialogButton(const std::string& caption) {
  return WaitForDialog([&](HWND dialog) {
    const HWND button = FindButton(dialog, caption);
    if (!button) return false;
    ThePlayer().log.Write("dialog-button " + caption);
    Press(button);
    return true;
  });
}

bool SelectDialogTab(const std::string& caption) {
  return WaitForDialog([&](HWND dialog) {
    const HWND tabs = FindTabs(dialog);
    const int count = tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 128;
      SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      if (WithoutAmpersands(tavio::Narrow(text)) != caption) continue;
      ThePlayer().log.Write("dialog-tab " + caption);
      SendMessageW(tabs, TCM_SETCURSEL, i, 0);
      // Setting the tab does not notify; a click would.
      NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
      SendMessageW(GetParent(tabs), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
      return true;
    }
    return false;
  });
}

HWND TopDialog() {
  ReportNewDialogs();
  const std::vector<HWND> open = PluginWindows();
  return open.empty() ? nullptr : open.front();
}

bool CloseTopDialog() {
  ReportNewDialogs();
  const std::vector<HWND> open = PluginWindows();
  if (open.empty()) return false;
  // What the title bar's close button ends in, also for dialogs without one.
  PostMessageW(open.front(), WM_CLOSE, 0, 0);
  return true;
}

void StartDialogWatch() { CloseHandle(CreateThread(nullptr, 0, WatchThread, nullptr, 0, nullptr)); }

}  // namespace playerhost
