#include "ui/frm_missing_covers.h"

#include <exception>
#include <string>

#include "coversearch/cover_web.h"
#include "coversearch/missing_covers.h"
#include "text/wide_text_win32.h"
#include "ui/message_pump.h"

namespace tavio::ui {

namespace {

constexpr int kFormWidth = 460;
constexpr int kFormHeight = 150;

// The name of the chosen service, as the dialog's source choice shows it.
std::string CaptionOf(const TCoverSourceSettings& sources) {
  return kCoverSources[CoverSourceIndex(sources.Source)].Caption;
}

}  // namespace

TFrmMissingCovers::TFrmMissingCovers(HWND owner) : owner_(owner), sources_(ReadCoverSourceSettings()) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kFormWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kFormHeight) / 2;
  CreateHandle("TFrmMissingCovers", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, owner, x, y, kFormWidth,
               kFormHeight, kCaption);
  SetClassLongPtrW(Handle(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
  const auto add = [&](const char* cls, const std::string& text, DWORD style, int cx, int cy, int w, int h, int id) {
    HWND control = CreateWindowExW(0, Widen(cls).c_str(), Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, cx, cy, w, h, Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
  };
  add("STATIC", "Asking " + CaptionOf(sources_) + " for the albums that show no picture of their own " + "\xE2\x80\xA6",
      SS_LEFT | SS_ENDELLIPSIS, 12, 14, 430, 18, -1);
  lProgress_ = add("STATIC", "", SS_LEFT, 12, 40, 430, 18, kLProgressId);
  btnStop_ = add("BUTTON", "Stop", WS_TABSTOP | BS_DEFPUSHBUTTON, 340, 76, 100, 26, kBtnStopId);
}

TFrmMissingCovers::~TFrmMissingCovers() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
  DestroyHandle();
}

std::vector<const TAlbum*> TFrmMissingCovers::Run(const std::vector<TAlbum*>& albums,
                                            const std::function<void()>& saveLibrary) {
  tally_ = TMissingCoversTally(static_cast<int32_t>(albums.size()));
  if (!albums.empty()) {
    ShowProgress();
    const bool ownerWasEnabled = owner_ && !EnableWindow(owner_, FALSE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    SetFocus(btnStop_);
    worker_ = std::thread([this, &albums, &saveLibrary] { Work(albums, saveLibrary); });
    RunModalLoop(Handle(), done_);
    // Left through WM_QUIT: the run ends here too.
    stop_ = true;
    worker_.join();
    if (ownerWasEnabled) EnableWindow(owner_, TRUE);
    ShowWindow(Handle(), SW_HIDE);
  }
  ShowMessageBox(owner_, tally_.Summary(stopped_), kCaption, MB_OK | MB_ICONINFORMATION);
  return found_;
}

void TFrmMissingCovers::Work(const std::vector<TAlbum*>& albums, const std::function<void()>& saveLibrary) {
  // Nothing may leave the thread: a failure of the whole run is one more line of the summary.
  try {
    const std::unique_ptr<TCoverSource> source = MakeCoverSource(sources_);
    TCoverWeb client(CoverUserAgent(sources_.Contact), &stop_);
    TMissingCoversOptions options;
    options.RequestIntervalMs = RequestIntervalOf(sources_);
    options.Stop = &stop_;
    TMissingCoversEvents events;
    events.AlbumDone = [this](const TAlbum& album, const TMissingCoverOutcome& outcome) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        tally_.Add(album.Artist, album.Album, outcome);
        if (outcome.Result == TMissingCoverResult::Found) found_.push_back(&album);
      }
      PostMessageW(Handle(), kProgressMessage, 0, 0);
    };
    events.SaveLibrary = saveLibrary;
    stopped_ = TMissingCovers(*source, client, options).Run(albums, events).Stopped;
  } catch (const std::exception& e) {
    std::lock_guard<std::mutex> lock(mutex_);
    tally_.Add("", "", {TMissingCoverResult::Failed, e.what()});
  }
  PostMessageW(Handle(), kFinishedMessage, 0, 0);
}

void TFrmMissingCovers::ShowProgress() {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    text = tally_.Progress();
  }
  WriteWindowText(lProgress_, text);
}

void TFrmMissingCovers::BtnStopClick() {
  stop_ = true;
  EnableWindow(btnStop_, FALSE);
  WriteWindowText(lProgress_, "Stopping \xE2\x80\xA6");
}

LRESULT TFrmMissingCovers::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if ((LOWORD(wParam) == kBtnStopId || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) BtnStopClick();
      return 0;
    case kProgressMessage:
      if (!stop_) ShowProgress();
      return 0;
    case kFinishedMessage:
      done_ = true;
      return 0;
    case WM_CLOSE:
      BtnStopClick();
      return 0;
    default:
      break;
  }
  return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace tavio::ui
