// The --actions script: input through the real message path, resizes,
// screenshots of the frame as drawn on screen, Config and quit.
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "dialog_actions.h"
#include "player_state.h"
#include "raster/bitmap32.h"
#include "raster/bmp_file.h"
#include "text/open_file.h"
#include "text/wide_text_win32.h"

namespace playerhost {
namespace {

constexpr WPARAM kSyncMarker = 0x54617669;
HANDLE markerTaken = CreateEventW(nullptr, FALSE, FALSE, nullptr);

// Runs on the vis thread whenever it takes a message from its queue, in its
// own loop, a modal loop or the view's message round alike.
LRESULT CALLBACK WatchForMarker(int code, WPARAM removed, LPARAM message) {
  const auto* msg = reinterpret_cast<const MSG*>(message);
  if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_NULL && msg->wParam == kSyncMarker)
    SetEvent(markerTaken);
  return CallNextHookEx(nullptr, code, removed, message);
}

// The hook on the current vis thread (a new one after quit-module and init).
bool HookVisThread() {
  static HHOOK hook = nullptr;
  static DWORD hooked = 0;
  const DWORD thread = ThePlayer().visThreadId;
  if (thread != hooked) {
    if (hook) UnhookWindowsHookEx(hook);
    hook = thread ? SetWindowsHookExW(WH_GETMESSAGE, WatchForMarker, nullptr, thread) : nullptr;
    hooked = thread;
  }
  return hook != nullptr;
}

// Waits until the vis thread has handled everything posted to the view so far.
// A sent message alone is not enough: it overtakes messages still queued.
void SyncWithView(HWND view) {
  ResetEvent(markerTaken);
  // Posted to the thread, not the view: a view that a script line destroys
  // (quit-module) would drop it, and the wait would run into its timeout.
  if (HookVisThread() && PostThreadMessageW(ThePlayer().visThreadId, WM_NULL, kSyncMarker, 0))
    WaitForSingleObject(markerTaken, 10000);
  DWORD_PTR result;
  SendMessageTimeoutW(view, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

// Committed private memory of this process, region by region, in megabytes.
size_t PrivateMegabytes() {
  size_t total = 0;
  MEMORY_BASIC_INFORMATION info;
  const char* at = nullptr;
  while (VirtualQuery(at, &info, sizeof info) == sizeof info) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total / (1024 * 1024);
}

// Where the system would send a mouse message at (x, y) of the view: the
// window that holds the capture, else the shown child under the point (the
// song list), else the view. The point is made the target's own.
HWND MouseTarget(HWND view, POINT& pt) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  HWND target = nullptr;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(view, nullptr), &gui) && gui.hwndCapture) target = gui.hwndCapture;
  if (!target) target = ChildWindowFromPointEx(view, pt, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
  if (!target) target = view;
  MapWindowPoints(view, target, &pt, 1);
  return target;
}

// One mouse message, handled before the next is posted: it may change which
// window takes the next one.
void PostMouse(HWND view, UINT msg, WPARAM keys, int x, int y) {
  POINT pt{x, y};
  const HWND target = MouseTarget(view, pt);
  PostMessageW(target, msg, keys, MAKELPARAM(pt.x, pt.y));
  SyncWithView(view);
}

void ResizeFrameClient(HWND frame, int w, int h) {
  RECT r{0, 0, w, h};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(frame, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(frame, GWL_EXSTYLE)));
  SetWindowPos(frame, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

// The frame's client area as drawn on screen.
tavio::TBitmap32 CaptureFrame(HWND frame) {
  RECT client;
  GetClientRect(frame, &client);
  const int w = client.right, h = client.bottom;
  HDC screen = GetDC(frame);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  tavio::TBitmap32 shot(w, h);
  const auto* src = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) shot.Bits()[i] = src[i] | 0xFF000000u;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(frame, screen);
  return shot;
}

bool SamePixels(const tavio::TBitmap32& a, const tavio::TBitmap32& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  const size_t count = static_cast<size_t>(a.Width()) * static_cast<size_t>(a.Height());
  return std::equal(a.Bits(), a.Bits() + count, b.Bits());
}

// Waits until the frame has looked the same for a second (20 s at most), so
// a script goes on when the covers have stopped however slow the machine is,
// where a fixed wait would cut a step short. An eased step stands still
// before it ends: scripts that must not cut into a step use a straight curve.
void WaitUntilStill(HWND frame) {
  tavio::TBitmap32 last = CaptureFrame(frame);
  int same = 0;
  for (int i = 0; i < 80 && same < 4; ++i) {
    Sleep(250);
    tavio::TBitmap32 now = CaptureFrame(frame);
    same = SamePixels(now, last) ? same + 1 : 0;
    last = std::move(now);
  }
  if (same < 4) ThePlayer().log.Write("error the frame never came to rest");
}

// "frame visible=1 rect=L,T,R,B proc=plugin": what the player sees of its frame.
void LogFrameState(HWND frame) {
  RECT r{};
  GetWindowRect(frame, &r);
  ThePlayer().log.Write("frame visible=" + std::to_string(IsWindowVisible(frame) ? 1 : 0) + " rect=" +
                        std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                        std::to_string(r.bottom) + " proc=" + (HasPlayerFrameProc(frame) ? "player" : "plugin"));
}

// User and kernel time of this whole process so far, in milliseconds.
long long CpuMilliseconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  const auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return (ticks(kernel) + ticks(user)) / 10000;
}

long long ElapsedMs(const LARGE_INTEGER& from) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (now.QuadPart - from.QuadPart) * 1000 / frequency.QuadPart;
}

// The window with the keyboard focus on the vis thread, as typing would reach.
HWND KeyboardTarget(HWND view) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(view, nullptr), &gui) && gui.hwndFocus) return gui.hwndFocus;
  return view;
}

bool IsDialogVerb(const std::string& line) {
  return line.rfind("dialog-", 0) == 0 || line.rfind("timed dialog-", 0) == 0;
}

// The rest of the line after the verb and one blank.
std::string Argument(const std::string& line, const std::string& verb) {
  return line.size() > verb.size() + 1 ? line.substr(verb.size() + 1) : std::string();
}

bool RunLine(const std::string& line);

// "timed LINE": runs the line (which ends when the view has handled it) and
// logs "timed MS LINE".
bool RunTimedLine(const std::string& line) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  const bool ok = RunLine(line);
  ThePlayer().log.Write("timed " + std::to_string(ElapsedMs(start)) + " " + line);
  return ok;
}

// Runs one line; false when it failed and the script must end.
bool RunLine(const std::string& line) {
  Player& p = ThePlayer();
  std::istringstream in(line);
  std::string verb;
  in >> verb;
  if (verb.empty() || verb[0] == '#') return true;
  if (verb == "timed") return RunTimedLine(Argument(line, verb));
  if (IsDialogVerb(verb)) --p.dialogVerbsLeft;
  HWND view = FindViewWindow();
  HWND frame = p.frameWindow;
  int x = 0, y = 0, right = 0, bottom = 0;
  if (verb == "move" && in >> x >> y) {
    PostMouse(view, WM_MOUSEMOVE, 0, x, y);
  } else if (verb == "press" && in >> x >> y) {
    PostMouse(view, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
  } else if (verb == "release" && in >> x >> y) {
    PostMouse(view, WM_LBUTTONUP, 0, x, y);
  } else if (verb == "click" && in >> x >> y) {
    PostMouse(view, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    PostMouse(view, WM_LBUTTONUP, 0, x, y);
  } else if (verb == "dblclick" && in >> x >> y) {
    PostMouse(view, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    PostMouse(view, WM_LBUTTONUP, 0, x, y);
    PostMouse(view, WM_LBUTTONDBLCLK, MK_LBUTTON, x, y);
    PostMouse(view, WM_LBUTTONUP, 0, x, y);
  } else if (verb == "rclick" && in >> x >> y) {
    PostMouse(view, WM_RBUTTONDOWN, MK_RBUTTON, x, y);
    PostMouse(view, WM_RBUTTONUP, 0, x, y);
  } else if (verb == "wheel" && in >> x) {
    POINT pt{10, 10};
    ClientToScreen(view, &pt);
    PostMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(x)), MAKELPARAM(pt.x, pt.y));
  } else if (verb == "key" && in >> x) {
    const HWND target = KeyboardTarget(view);
    PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(x), 1);
    PostMessageW(target, WM_KEYUP, static_cast<WPARAM>(x), static_cast<LPARAM>(0xC0000001u));
  } else if (verb == "type") {
    // Each UTF-16 unit as WM_CHAR, as the keyboard's translation would give it.
    const HWND target = KeyboardTarget(view);
    for (const wchar_t c : tavio::Widen(Argument(line, verb))) PostMessageW(target, WM_CHAR, c, 1);
  } else if (verb == "resize" && in >> x >> y) {
    ResizeFrameClient(frame, x, y);
  } else if (verb == "move-frame" && in >> x >> y >> right >> bottom) {
    SetWindowPos(frame, nullptr, x, y, right - x, bottom - y, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (verb == "hide-frame") {
    ShowWindow(frame, SW_HIDE);
  } else if (verb == "frame-state") {
    LogFrameState(frame);
  } else if (verb == "wait" && in >> x) {
    Sleep(static_cast<DWORD>(x));
  } else if (verb == "screenshot") {
    std::string file;
    in >> file;
    SyncWithView(view);
    tavio::SaveBmpFile(CaptureFrame(frame), file);
  } else if (verb == "dialog-screenshot") {
    std::string file;
    in >> file;
    const HWND dialog = TopDialog();
    if (!dialog) {
      p.log.Write("error no dialog to take: " + line);
      return false;
    }
    tavio::SaveBmpFile(CaptureFrame(dialog), file);
  } else if (verb == "settle") {
    WaitUntilStill(frame);
  } else if (verb == "play") {
    SetPlayingFile(Argument(line, verb));
  } else if (verb == "cpu") {
    p.log.Write("cpu " + std::to_string(CpuMilliseconds()));
    return true;
  } else if (verb == "memory") {
    SyncWithView(view);
    p.log.Write("memory " + std::to_string(PrivateMegabytes()));
    return true;
  } else if (verb == "config") {
    PostMessageW(p.mainWindow, kRunConfigMessage, 0, 0);
  } else if (verb == "init") {
    PostThreadMessageW(p.visThreadId, kVisInitMessage, 0, 0);
  } else if (verb == "quit-module") {
    PostThreadMessageW(p.visThreadId, kVisQuitMessage, 0, 0);
  } else if (verb == "quit") {
    // Nothing to wait for: the vis thread ends and would never take a marker.
    if (const DWORD id = p.visThreadId) PostThreadMessageW(id, WM_QUIT, 0, 0);
    return true;
  } else if (verb == "chdir") {
    SetCurrentDirectoryW(tavio::Widen(Argument(line, verb)).c_str());
  } else if (verb == "dialog-button" || verb == "dialog-tab" || verb == "dialog-close") {
    const bool done = verb == "dialog-button" ? PressDialogButton(Argument(line, verb))
                      : verb == "dialog-tab"  ? SelectDialogTab(Argument(line, verb))
                                              : CloseTopDialog();
    if (!done) {
      p.log.Write("error no dialog offers: " + line);
      return false;
    }
  } else if (!RunDialogAction(verb, in)) {
    p.log.Write("error bad action: " + line);
    return true;
  }
  if (HWND now = FindViewWindow()) SyncWithView(now);
  return true;
}

// The script file's UTF-8 text; empty when it cannot be read.
std::string ScriptText(const std::string& path) {
  std::string text;
  if (std::FILE* file = tavio::OpenFile(path, "rb")) {
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

DWORD WINAPI ScriptThread(void*) {
  Player& p = ThePlayer();
  // Counted first: dialogs that open while the plug-in starts are the script's too.
  std::vector<std::string> lines;
  std::istringstream file(ScriptText(p.options.actionsFile));
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (IsDialogVerb(line)) ++p.dialogVerbsLeft;
  }
  // Init has returned once visRunning is set; without a frame there is no view to wait for.
  for (int i = 0; i < 200 && !p.closing && !(p.visRunning && (FindViewWindow() || !p.frameWindow)); ++i) Sleep(50);
  if (!p.closing && p.frameWindow && !FindViewWindow()) p.log.Write("error no view window");
  for (const std::string& line : lines) {
    if (p.closing) break;
    if (!RunLine(line)) {
      // A failed script ends the run: the watcher may close what is left open.
      p.dialogVerbsLeft = 0;
      PostMessageW(p.mainWindow, WM_CLOSE, 0, 0);
      break;
    }
  }
  return 0;
}

}  // namespace

HANDLE StartActionScript() { return CreateThread(nullptr, 0, ScriptThread, nullptr, 0, nullptr); }

}  // namespace playerhost
