#include "ui/carousel_window.h"

#include <windowsx.h>

#include <string>

#include "text/wide_text_win32.h"
#include "ui/clipboard_bitmap.h"
#include "ui/frm_images.h"
#include "ui/frm_missing_covers.h"
#include "ui/message_pump.h"

#include "ui/frm_config.h"

namespace tavio::ui {
namespace {

constexpr UINT kRunTaskMessage = WM_APP + 1;
constexpr UINT_PTR kScrollTimerId = 1;
// Menu ids after the cover menu's (which are 1 + its index).
constexpr UINT kShowPlayingId = 100;
constexpr UINT kFollowPlayingId = 101;
// Windows 10 1803 and later; older systems refuse it and get a plain timer.
constexpr DWORD kHighResolutionTimer = 0x00000002;

HANDLE NewFrameTimer() {
  if (HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS)) return timer;
  return CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

TMouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return TMouseButton::mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return TMouseButton::mbMiddle;
    default:
      return TMouseButton::mbLeft;
  }
}

// The view's keys; false for one it leaves alone.
bool ViewKeyOf(WPARAM virtualKey, TViewKey& key) {
  switch (virtualKey) {
    case VK_LEFT: key = TViewKey::Left; return true;
    case VK_RIGHT: key = TViewKey::Right; return true;
    case VK_PRIOR: key = TViewKey::PageUp; return true;
    case VK_NEXT: key = TViewKey::PageDown; return true;
    case VK_HOME: key = TViewKey::Home; return true;
    case VK_END: key = TViewKey::End; return true;
    case VK_RETURN: key = TViewKey::Enter; return true;
    case VK_SPACE: key = TViewKey::Space; return true;
    case VK_ESCAPE: key = TViewKey::Escape; return true;
    default: return false;
  }
}

bool AnyButtonHeld(WPARAM keys) { return (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0; }

// The control's own canvas: straight onto the screen.
class TDcCanvas : public TScreenCanvas {
 public:
  explicit TDcCanvas(HDC dc) : dc_(dc) {}
  void WriteText(int32_t x, int32_t y, const std::string& text) override {
    const HGDIOBJ oldFont = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc_, RGB(255, 255, 255));
    SetBkColor(dc_, RGB(0, 0, 0));
    SetBkMode(dc_, OPAQUE);
    const std::wstring wide = Widen(text);
    ::TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
    SelectObject(dc_, oldFont);
  }
  void Draw(int32_t x, int32_t y, const TBitmap32& bitmap) override { DrawBitmap(dc_, x, y, bitmap); }

 private:
  HDC dc_;
};

}  // namespace

TCarouselWindow::TCarouselWindow(HWND parent, int x, int y, int w, int h) {
  CreateHandle("TMarquelle2", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, parent, x, y, w, h,
               "", CS_DBLCLKS);
  QueryPerformanceFrequency(&clockFrequency_);
  frameTimer_ = NewFrameTimer();
  view_ = std::make_unique<TMarquelle2>(*this);
  view_->Covers.Source = this;
  songGrid_ = std::make_unique<TSongGridWindow>(Handle(), view_->SongList);
  view_->SongList.AttachScreen(songGrid_.get());
  view_->Resize(w, h);
}

TCarouselWindow::~TCarouselWindow() {
  KillTimer(Handle(), kScrollTimerId);
  view_->SongList.AttachScreen(nullptr);
  songGrid_.reset();
  view_.reset();
  DropPostedTasks();
  DestroyHandle();
  if (frameTimer_) CloseHandle(frameTimer_);
}

void TCarouselWindow::PaintOver(HDC dc) {
  TDcCanvas canvas(dc);
  view_->Paint(canvas);
}

LRESULT TCarouselWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandleViewMessage(msg, wParam, lParam);
  // A step ends without a frame of its own once the middle album has moved
  // on: the header of a shown list follows it here.
  if (songGrid_) songGrid_->RefreshIfStale();
  return result;
}

LRESULT TCarouselWindow::HandleViewMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Taken here in any case: the host form forwards wheel notches to this
  // window, and one passed on to the parent would come straight back.
  if (msg == WM_MOUSEWHEEL) {
    if (view_) view_->CMMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    return 0;
  }
  if (!view_) return TPaintBox32::HandleMessage(msg, wParam, lParam);
  switch (msg) {
    case WM_SIZE:
      view_->Resize(LOWORD(lParam), HIWORD(lParam));
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_TIMER:
      if (wParam != kScrollTimerId) break;
      view_->TimerTick();
      return 0;
    case WM_MOUSEMOVE:
      view_->MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      // The release must reach the view wherever the pointer is by then.
      SetCapture(Handle());
      // Keys reach the view once it has been clicked.
      SetFocus(Handle());
      if (msg == WM_LBUTTONDOWN) leftPressed_ = true;
      view_->MouseDown(ButtonOf(msg), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!AnyButtonHeld(wParam) && GetCapture() == Handle()) ReleaseCapture();
      view_->MouseUp(ButtonOf(msg), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (msg == WM_LBUTTONUP) ClickIfReleasedInside(lParam);
      // The default handling of a right release asks for the context menu.
      if (msg == WM_RBUTTONUP) break;
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    case WM_KEYDOWN: {
      if (wParam == 'P' && GetKeyState(VK_CONTROL) < 0) {
        view_->ShowPlayingAlbum();
        return 0;
      }
      TViewKey key;
      if (!ViewKeyOf(wParam, key)) break;
      view_->KeyDown(key);
      return 0;
    }
    case WM_CHAR: {
      // The view takes a typed character whole; one beyond the BMP arrives
      // in two messages, its surrogates.
      const auto unit = static_cast<char16_t>(wParam);
      if (unit >= 0xD800 && unit < 0xDC00) {
        highSurrogate_ = unit;
        return 0;
      }
      const bool paired = highSurrogate_ != 0 && unit >= 0xDC00 && unit < 0xE000;
      const char32_t typed = paired ? 0x10000 + ((char32_t(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00) : unit;
      highSurrogate_ = 0;
      view_->CharTyped(typed);
      return 0;
    }
    case WM_CONTEXTMENU:
      if (view_->Inert) return 0;
      ShowCoverMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse while a button was held (a dialog, a
      // task switch): no release will come, so end fast mode as one would.
      if (reinterpret_cast<HWND>(lParam) != Handle() && view_->FastMode)
        view_->MouseUp(TMouseButton::mbLeft, 0, 0);
      return 0;
    case kRunTaskMessage: {
      std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
      (*task)();
      return 0;
    }
    default:
      break;
  }
  return TPaintBox32::HandleMessage(msg, wParam, lParam);
}

void TCarouselWindow::ClickIfReleasedInside(LPARAM point) {
  // A double-click's second press is no click of its own.
  const bool pressed = leftPressed_;
  leftPressed_ = false;
  RECT client;
  GetClientRect(Handle(), &client);
  if (pressed && PtInRect(&client, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)})) view_->Click();
}

void TCarouselWindow::ProcessPendingMessages() { PumpPendingMessages(); }

void TCarouselWindow::WaitUntil(int64_t dueMs) {
  const int64_t remainingMs = dueMs - NowMs();
  LARGE_INTEGER due;
  due.QuadPart = -remainingMs * 10000;  // relative, in 100 ns units
  if (remainingMs <= 0 || !frameTimer_ || !SetWaitableTimer(frameTimer_, &due, 0, nullptr, nullptr, FALSE)) {
    PumpPendingMessages();
    return;
  }
  PumpMessagesUntilSignalled(frameTimer_);
}

void TCarouselWindow::SetTimer(bool enabled, uint32_t intervalMs) {
  if (!Handle()) return;
  if (enabled)
    ::SetTimer(Handle(), kScrollTimerId, intervalMs, nullptr);
  else
    KillTimer(Handle(), kScrollTimerId);
}

int64_t TCarouselWindow::NowMs() {
  LARGE_INTEGER now;
  if (clockFrequency_.QuadPart <= 0 || !QueryPerformanceCounter(&now)) return static_cast<int64_t>(GetTickCount64());
  return now.QuadPart / clockFrequency_.QuadPart * 1000 + now.QuadPart % clockFrequency_.QuadPart * 1000 / clockFrequency_.QuadPart;
}

void TCarouselWindow::PostToViewThread(std::function<void()> task) {
  auto* boxed = new std::function<void()>(std::move(task));
  if (!PostMessageW(Handle(), kRunTaskMessage, 0, reinterpret_cast<LPARAM>(boxed))) delete boxed;
}

// Owned by the player's frame (made on this thread): the frame is disabled
// meanwhile and the dialog never falls behind it.
void TCarouselWindow::ShowSettingsDialog(TConfigModel& dialog) {
  ShowConfigDialog(GetAncestor(Handle(), GA_ROOT), dialog);
}

void TCarouselWindow::Repaint() { InvalidateRect(Handle(), nullptr, FALSE); }

void TCarouselWindow::RequestParentLayout() {
  if (const HWND form = GetParent(Handle())) SendMessageW(form, WM_SIZE, 0, 0);
}

void TCarouselWindow::DropPostedTasks() {
  MSG msg;
  while (PeekMessageW(&msg, Handle(), kRunTaskMessage, kRunTaskMessage, PM_REMOVE))
    delete reinterpret_cast<std::function<void()>*>(msg.lParam);
}

void TCarouselWindow::ShowCoverMenu(int screenX, int screenY) {
  // From the keyboard (Shift+F10) there is no point: the menu opens at the view's corner.
  if (screenX == -1 && screenY == -1) {
    POINT corner{0, 0};
    ClientToScreen(Handle(), &corner);
    screenX = corner.x;
    screenY = corner.y;
  }
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < kCoverMenu.size(); ++i) {
    if (kCoverMenu[i].SeparatorBefore) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, i + 1, Widen(kCoverMenu[i].Caption).c_str());
  }
  AppendMenuW(menu, MF_STRING, kShowPlayingId, L"Show playing album");
  AppendMenuW(menu, MF_STRING | (view_->Playing.Follow ? MF_CHECKED : MF_UNCHECKED), kFollowPlayingId,
              L"Follow the playing album");
  const UINT chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screenX, screenY, 0, Handle(), nullptr);
  DestroyMenu(menu);
  if (chosen == kShowPlayingId)
    view_->ShowPlayingAlbum();
  else if (chosen == kFollowPlayingId)
    view_->SetFollowPlaying(!view_->Playing.Follow);
  else if (chosen >= 1 && chosen <= kCoverMenu.size())
    view_->Covers.Run(kCoverMenu[chosen - 1].Item);
  else
    return;
  // The pixels saved under the menu may be put back after the frame drew:
  // paint it once more from the frame buffer.
  InvalidateRect(Handle(), nullptr, FALSE);
}

TCoverPicture TCarouselWindow::ClipboardBitmap() { return TCoverPicture{{}, ReadClipboardBitmap(Handle())}; }

TCoverPicture TCarouselWindow::ChooseWebCover(const TAlbum& album) {
  TFrmImages dialog(GetAncestor(Handle(), GA_ROOT));
  dialog.SetAlbum(album);
  if (!dialog.ShowModal() || dialog.SelectedImage() < 0) return {};
  return dialog.SelectedPicture();
}

std::vector<const TAlbum*> TCarouselWindow::FindMissingCovers(const std::vector<TAlbum*>& albums,
                                                        const std::function<void()>& saveLibrary) {
  return TFrmMissingCovers(GetAncestor(Handle(), GA_ROOT)).Run(albums, saveLibrary);
}

}  // namespace tavio::ui
