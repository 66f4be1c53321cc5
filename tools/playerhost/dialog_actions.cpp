#include "dialog_actions.h"

#include <windows.h>

#include <string>

#include "player_state.h"
#include "text/wide_text_win32.h"

namespace playerhost {
namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

std::string RestOfLine(std::istream& in) {
  std::string text;
  std::getline(in >> std::ws, text);
  return text;
}

bool OwnedByUs(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid == GetCurrentProcessId();
}

// Polls up to five seconds for a window that find returns.
template <typename Find>
HWND WaitFor(Find find) {
  for (int i = 0; i < 100; ++i) {
    if (HWND found = find()) return found;
    Sleep(50);
  }
  return nullptr;
}

HWND OpenPopupMenu() {
  HWND menu = nullptr;
  while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)))
    if (IsWindowVisible(menu) && OwnedByUs(menu)) return menu;
  return nullptr;
}

// Keys go to the menu's own loop: one Down per item from none selected, then Enter.
void ChooseMenuItem(const std::string& caption) {
  const HWND window = WaitFor(OpenPopupMenu);
  DWORD_PTR handle = 0;
  if (!window || !SendMessageTimeoutW(window, kGetMenuHandle, 0, 0, SMTO_NORMAL, 5000, &handle) || !handle) {
    ThePlayer().log.Write("error no menu for: " + caption);
    return;
  }
  const HMENU menu = reinterpret_cast<HMENU>(handle);
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    if (caption != tavio::Narrow(text)) continue;
    // Down passes over separators.
    for (int k = 0; k <= i; ++k)
      if (!(GetMenuState(menu, static_cast<UINT>(k), MF_BYPOSITION) & MF_SEPARATOR))
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    return;
  }
  ThePlayer().log.Write("error no menu item: " + caption);
}

BOOL CALLBACK FirstDialogOfThread(HWND window, LPARAM param) {
  if (!IsWindowVisible(window) || !IsWindowEnabled(window) || window == ThePlayer().frameWindow) return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

// The vis thread's topmost usable window besides the frame: a modal dialog.
HWND VisDialog() {
  HWND found = nullptr;
  EnumThreadWindows(ThePlayer().visThreadId, FirstDialogOfThread, reinterpret_cast<LPARAM>(&found));
  return found;
}

void DoubleClickDialog(int x, int y) {
  const HWND dialog = WaitFor(VisDialog);
  if (!dialog) {
    ThePlayer().log.Write("error no dialog to double-click");
    return;
  }
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(dialog, WM_LBUTTONUP, 0, at);
  PostMessageW(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageW(dialog, WM_LBUTTONUP, 0, at);
}

std::string ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return tavio::Narrow(name);
}

// "owner frame", "owner none" or "owner other": who owns the top dialog.
void LogDialogOwner() {
  const HWND dialog = TopDialog();
  const HWND owner = dialog ? GetWindow(dialog, GW_OWNER) : nullptr;
  ThePlayer().log.Write(std::string("owner ") + (!dialog                           ? "no dialog"
                                                 : owner == ThePlayer().frameWindow ? "frame"
                                                 : owner                            ? "other"
                                                                                    : "none"));
}

// "focus CLASS TEXT" of the vis thread's keyboard focus.
void LogFocus() {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  HWND focus = nullptr;
  if (GetGUIThreadInfo(ThePlayer().visThreadId, &gui)) focus = gui.hwndFocus;
  wchar_t text[256] = {};
  if (focus) GetWindowTextW(focus, text, 256);
  ThePlayer().log.Write("focus " + (focus ? ClassName(focus) + " " + tavio::Narrow(text) : std::string("none")));
}

// "extent ID N wider|narrower": a list box's horizontal extent against its width.
void LogListExtent(int id) {
  const HWND list = GetDlgItem(TopDialog(), id);
  DWORD_PTR extent = 0;
  SendMessageTimeoutW(list, LB_GETHORIZONTALEXTENT, 0, 0, SMTO_NORMAL, 5000, &extent);
  RECT client{};
  GetClientRect(list, &client);
  ThePlayer().log.Write("extent " + std::to_string(id) + " " +
                        (static_cast<LONG>(extent) > client.right ? "wider" : "narrower"));
}

}  // namespace

bool RunDialogAction(const std::string& verb, std::istream& args) {
  int x = 0, y = 0;
  if (verb == "menu") {
    ChooseMenuItem(RestOfLine(args));
  } else if (verb == "dialog-dblclick" && args >> x >> y) {
    DoubleClickDialog(x, y);
  } else if (verb == "dialog-owner") {
    LogDialogOwner();
  } else if (verb == "dialog-focus") {
    LogFocus();
  } else if (verb == "dialog-extent" && args >> x) {
    LogListExtent(x);
  } else {
    return false;
  }
  return true;
}

}  // namespace playerhost
