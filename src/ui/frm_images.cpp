#include "ui/frm_images.h"

#include <windowsx.h>

#include <exception>
#include <string>

#include "coversearch/cover_web.h"
#include "raster/module_resources.h"
#include "text/wide_text_win32.h"
#include "ui/message_pump.h"
#include "ui/paint_box32.h"

namespace tavio::ui {

namespace {

constexpr int kFormWidth = 662;
constexpr int kFormHeight = 671 + TFrmImages::kGridTop;
constexpr int kBelowGrid =
    TFrmImages::kGridTop + TImageSearch::kMargin + 3 * TImageSearch::kCellPitch + TImageSearch::kCellSize + 12;

int32_t CellAtPoint(LPARAM point) {
  return TImageSearch::CellAt(GET_X_LPARAM(point), GET_Y_LPARAM(point) - TFrmImages::kGridTop);
}

// A grey cell when the module's placeholder cannot be loaded.
TBitmap32 PlaceholderPicture() {
  TBitmap32 placeholder;
  try {
    LoadFromResourceName(placeholder, "NOIMAGE");
  } catch (...) {
    placeholder.SetSize(TImageSearch::kCellSize, TImageSearch::kCellSize);
    placeholder.Clear(Color32(192, 192, 192));
  }
  return placeholder;
}


}  // namespace

TFrmImages::TFrmImages(HWND owner)
    : owner_(owner),
      sources_(ReadCoverSourceSettings()),
      worker_(TImageSearch(MakeCoverSource(sources_)),
              [userAgent = CoverUserAgent(sources_.Contact)](const std::atomic<bool>& cancelled) {
                return std::make_unique<TCoverWeb>(userAgent, &cancelled);
              },
              [this] { PostMessageW(Handle(), kNewsMessage, 0, 0); }) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kFormWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kFormHeight) / 2;
  CreateHandle("TFrmImages", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME, owner, x, y,
               kFormWidth, kFormHeight, kCaption, CS_DBLCLKS);
  SetClassLongPtrW(Handle(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
  arial_ = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
  const int m = TImageSearch::kMargin;
  AddControl("STATIC", "Source:", SS_LEFT, m, m + 3, 60, 18, -1);
  cbSource_ = AddControl("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, m + 64, m, 300, 200, kCBSourceId);
  for (const TCoverSourceName& source : kCoverSources)
    SendMessageW(cbSource_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(source.Caption).c_str()));
  SendMessageW(cbSource_, CB_SETCURSEL, CoverSourceIndex(sources_.Source), 0);
  eSuch_ = AddControl("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, m, kBelowGrid, 380, 22, kESuchId);
  SendMessageW(eSuch_, WM_SETFONT, reinterpret_cast<WPARAM>(arial_), FALSE);
  btnSearch_ = AddControl("BUTTON", "Search ...", WS_TABSTOP | BS_PUSHBUTTON, 400, kBelowGrid - 2, 112, 26, kBtnSearchId);
  btnNext_ = AddControl("BUTTON", "Next >>", WS_TABSTOP | BS_PUSHBUTTON, 520, kBelowGrid - 2, 112, 26, kBtnNextId);
  lInfo_ = AddControl("STATIC", "", SS_LEFT | SS_ENDELLIPSIS, m, kBelowGrid + 30, 500, 18, kLInfoId);
  btnCancel_ = AddControl("BUTTON", "Cancel", WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON, 520, kBelowGrid + 26, 112, 26,
                          kBtnCancelId);
  lStatus_ = AddControl("STATIC", "", SS_LEFT | SS_ENDELLIPSIS, m, kBelowGrid + 80, 624, 18, kLStatusId);
  AddControl("STATIC", "(Doubleclick image to save and exit ...)", SS_RIGHT, 300, kBelowGrid + 56, 332, 18,
             kLabel2Id);
}

TFrmImages::~TFrmImages() {
  worker_.Cancel();
  DestroyHandle();
  if (arial_) DeleteObject(arial_);
}

HWND TFrmImages::AddControl(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
                            int id) {
  HWND control =
      CreateWindowExW(0, Widen(className).c_str(), Widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                      Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

void TFrmImages::SetAlbum(const TAlbum& album) {
  album_ = &album;
  WriteWindowText(eSuch_, album.Artist + " " + album.Album);
  // Setting the text notified a change, as typing does; this text is the album's.
  typed_ = false;
}

void TFrmImages::FormShow() {
  WriteWindowText(lInfo_, "");
  selected_ = -1;
  const TBitmap32 placeholder = PlaceholderPicture();
  for (TShownCell& cell : cells_) cell = {placeholder, "", false};
  EnableWindow(btnNext_, FALSE);
}

bool TFrmImages::ShowModal() {
  FormShow();
  done_ = ok_ = false;
  const bool ownerWasEnabled = owner_ && !EnableWindow(owner_, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetFocus(eSuch_);
  RunModalLoop(Handle(), done_);
  // Closed mid-search: the fetch ends now, and whatever it found is dropped.
  worker_.Cancel();
  // The owner first, so the activation goes back to it and not elsewhere.
  if (ownerWasEnabled) EnableWindow(owner_, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  return ok_;
}

void TFrmImages::RunSearch() {
  if (worker_.Busy()) return;
  EnableWindow(btnSearch_, FALSE);
  EnableWindow(btnNext_, FALSE);
  EnableWindow(btnCancel_, TRUE);
  // The pictures shown stay until replaced, but only this search's can be chosen.
  for (TShownCell& cell : cells_) cell.Filled = false;
  // A typed text is searched as a title: it may name anything.
  if (typed_ || !album_)
    worker_.Search("", ReadWindowText(eSuch_));
  else
    worker_.Search(album_->Artist, album_->Album);
}

void TFrmImages::CBSourceChange() {
  const auto chosen = static_cast<size_t>(SendMessageW(cbSource_, CB_GETCURSEL, 0, 0));
  if (chosen >= kCoverSources.size()) return;
  sources_.Source = kCoverSources[chosen].Key;
  WriteCoverSourceChoice(sources_.Source);
  worker_.UseSource(MakeCoverSource(sources_));
  TakeNews();
  // Another service: its first search is a new one.
  EnableWindow(btnSearch_, TRUE);
}

void TFrmImages::BtnCancelClick() {
  worker_.Cancel();
  TakeNews();
}

void TFrmImages::SetStatus(const std::string& text) { WriteWindowText(lStatus_, text); }

void TFrmImages::TakeNews() {
  for (TSearchNews& news : worker_.TakeNews()) {
    switch (news.Kind) {
      case TSearchNews::TKind::Status:
      case TSearchNews::TKind::NotChosen:
        SetStatus(news.Text);
        break;
      case TSearchNews::TKind::CellFilled: {
        cells_[news.Cell] = {std::move(news.Thumbnail), std::move(news.Info), true};
        const TRect r = TImageSearch::CellRect(news.Cell);
        const RECT area{r.Left, kGridTop + r.Top, r.Right, kGridTop + r.Bottom};
        InvalidateRect(Handle(), &area, FALSE);
        break;
      }
      case TSearchNews::TKind::Finished:
        EnableWindow(btnCancel_, FALSE);
        // The search button stays off: later pages, and a changed text, go through Next.
        EnableWindow(btnNext_, TRUE);
        break;
      case TSearchNews::TKind::Chosen:
        chosen_ = std::move(news.Picture);
        selected_ = news.Cell;
        ok_ = true;
        done_ = true;
        break;
    }
  }
}

void TFrmImages::Image1MouseMove(int32_t cell) {
  if (cell >= 0 && cells_[cell].Filled) WriteWindowText(lInfo_, cells_[cell].Info);
}

void TFrmImages::Image1DblClick(int32_t cell) {
  // A placeholder, or a picture left from an earlier search, is no cover: storing
  // it would replace the album's real picture.
  if (!cells_[cell].Filled) return;
  // The choice ends the search; its picture may have to be fetched again.
  worker_.Cancel();
  TakeNews();
  EnableWindow(btnNext_, FALSE);
  EnableWindow(btnCancel_, TRUE);
  worker_.Choose(cell);
}

void TFrmImages::PaintCells(HDC dc) {
  for (int32_t i = 0; i < TImageSearch::kCellCount; ++i) {
    const TRect r = TImageSearch::CellRect(i);
    DrawBitmap(dc, r.Left, kGridTop + r.Top, cells_[i].Thumbnail);
  }
}

LRESULT TFrmImages::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      // Search and Next run the same search; Next's page is the offset the last one left.
      if ((LOWORD(wParam) == kBtnSearchId || LOWORD(wParam) == kBtnNextId) && HIWORD(wParam) == BN_CLICKED)
        RunSearch();
      if (LOWORD(wParam) == kBtnCancelId && HIWORD(wParam) == BN_CLICKED) BtnCancelClick();
      if (LOWORD(wParam) == kESuchId && HIWORD(wParam) == EN_CHANGE) ESuchChange();
      if (LOWORD(wParam) == kCBSourceId && HIWORD(wParam) == CBN_SELCHANGE) CBSourceChange();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      PaintCells(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
      Image1MouseMove(CellAtPoint(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      if (const int32_t cell = CellAtPoint(lParam); cell >= 0)
        Image1DblClick(cell);
      return 0;
    case kNewsMessage:
      TakeNews();
      return 0;
    case WM_SETCURSOR:
      // Working, but still taking clicks.
      if (!worker_.Busy() || LOWORD(lParam) != HTCLIENT) break;
      SetCursor(LoadCursor(nullptr, IDC_APPSTARTING));
      return TRUE;
    case WM_CLOSE:
      worker_.Cancel();
      done_ = true;
      return 0;
    default:
      break;
  }
  return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace tavio::ui
