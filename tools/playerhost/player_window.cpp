// The player's main window ("Winamp v1.x"): answers the plug-in's host
// messages, records the player commands and shows the playlist.
#include <windows.h>

#include <deque>
#include <mutex>
#include <string>

#include "player_state.h"
#include "text/code_page.h"
#include "text/wide_text_win32.h"

namespace playerhost {
namespace {

constexpr int kPlaylistId = 100;

void Log(const std::string& line) { ThePlayer().log.Write(line); }

void AddToPlaylist(const std::string& path) {
  SendMessageW(ThePlayer().playlistBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tavio::Widen(path).c_str()));
}

std::mutex playingMutex;
// Every file ever played, in the code page and in UTF-16 as the player's
// answers give it: the plug-in may still read an old one's text.
std::deque<std::string> playedFiles;
std::deque<std::wstring> playedFilesWide;

constexpr ULONG_PTR kAddFile = 100;       // the path in the ANSI code page
constexpr ULONG_PTR kAddFileWide = 1100;  // the path in UTF-16

// The path of an add-file command in UTF-8, without its terminating zero.
std::string CopiedPath(const COPYDATASTRUCT& data) {
  if (data.dwData == kAddFileWide) {
    std::wstring_view wide(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    if (!wide.empty() && wide.back() == L'\0') wide.remove_suffix(1);
    return tavio::Narrow(wide);
  }
  std::string text(static_cast<const char*>(data.lpData), data.cbData);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return data.dwData == kAddFile ? tavio::AnsiToUtf8(text) : text;
}

LRESULT AnswerIpc(WPARAM wParam, LPARAM code) {
  Player& p = ThePlayer();
  switch (code) {
    case tavio::host::kIpcGetEmbedIf:
      Log("ipc 505");
      return p.options.noEmbedding ? 0 : reinterpret_cast<LRESULT>(EmbeddingFunction());
    case tavio::host::kIpcSetVisWnd:
      Log(wParam ? "ipc 611 frame" : "ipc 611 0");
      return 0;
    case 104:
      Log("ipc 104");
      return p.options.playing ? 1 : 0;
    // Asked every second: not logged.
    case 125:
      return 0;
    case 211:
      return wParam == 0 ? reinterpret_cast<LRESULT>(PlayingFileText()) : 0;
    case 214:
      return wParam == 0 ? reinterpret_cast<LRESULT>(PlayingFileWideText()) : 0;
    case 101:
      Log("ipc 101");
      SendMessageW(p.playlistBox, LB_RESETCONTENT, 0, 0);
      return 0;
    default:
      Log("ipc " + std::to_string(code));
      return 0;
  }
}

LRESULT CALLBACK PlayerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Player& p = ThePlayer();
  switch (msg) {
    case WM_CREATE:
      p.playlistBox = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 10,
                                      10, hwnd, reinterpret_cast<HMENU>(kPlaylistId), nullptr, nullptr);
      return 0;
    case WM_SIZE:
      MoveWindow(p.playlistBox, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_USER:
      return AnswerIpc(wParam, lParam);
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      const std::string text = CopiedPath(*data);
      Log("copydata " + std::to_string(data->dwData) + " " + text);
      if (data->dwData == kAddFile || data->dwData == kAddFileWide) AddToPlaylist(text);
      return 1;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == 40045 || LOWORD(wParam) == 40047) {
        Log("command " + std::to_string(LOWORD(wParam)));
        return 0;
      }
      break;
    case kRunConfigMessage:
      if (p.module) {
        p.configRunning = true;
        p.module->Config(p.module);
        p.configRunning = false;
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The embedded frame: a plain resizable window that keeps the state block's
// rectangle up to date, as the player's skinned frame does.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_WINDOWPOSCHANGED) {
    if (auto* state = reinterpret_cast<tavio::host::EmbedWindowState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      GetWindowRect(hwnd, &state->r);
  }
  if (msg == WM_CLOSE) {
    PostMessageW(ThePlayer().mainWindow, WM_CLOSE, 0, 0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND __cdecl EmbedWindow(tavio::host::EmbedWindowState* state) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"PlayerHostFrame";
    return RegisterClassW(&wc) != 0;
  }();
  if (!registered) return nullptr;
  const RECT r = state->r;
  HWND frame =
      CreateWindowExW(0, L"PlayerHostFrame", L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, r.left, r.top,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!frame) return nullptr;
  SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  GetWindowRect(frame, &state->r);
  state->me = frame;
  ThePlayer().frameWindow = frame;
  return frame;
}

}  // namespace

void SetPlayingFile(const std::string& path) {
  std::lock_guard lock(playingMutex);
  playedFiles.push_back(tavio::Utf8ToAnsi(path));
  playedFilesWide.push_back(tavio::Widen(path));
}

const char* PlayingFileText() {
  std::lock_guard lock(playingMutex);
  return playedFiles.empty() || playedFiles.back().empty() ? nullptr : playedFiles.back().c_str();
}

const wchar_t* PlayingFileWideText() {
  std::lock_guard lock(playingMutex);
  return playedFilesWide.empty() || playedFilesWide.back().empty() ? nullptr : playedFilesWide.back().c_str();
}

tavio::host::EmbedWindowFn EmbeddingFunction() { return &EmbedWindow; }

HWND CreatePlayerWindow(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlayerProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"Winamp v1.x";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, L"Winamp v1.x", L"playerhost - playlist", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 0,
                              420, 300, nullptr, nullptr, instance, nullptr);
  return hwnd;
}

namespace {

BOOL CALLBACK TakeIfView(HWND child, LPARAM out) {
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  if (std::wstring_view(name) != L"TMarquelle2") return TRUE;
  *reinterpret_cast<HWND*>(out) = child;
  return FALSE;
}

}  // namespace

bool HasPlayerFrameProc(HWND frame) {
  return GetWindowLongPtrW(frame, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&FrameProc);
}

HWND FindViewWindow() {
  const HWND frame = ThePlayer().frameWindow;
  if (!frame) return nullptr;
  HWND found = nullptr;
  EnumChildWindows(frame, TakeIfView, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace playerhost
