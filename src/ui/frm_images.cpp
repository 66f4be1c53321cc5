#include "ui/frm_images.h"

#include <windowsx.h>

#include <exception>
#include <string>

#include "raster/module_resources.h"
#include "ui/message_pump.h"
#include "ui/paint_box32.h"

namespace tavio::ui {

namespace {

constexpr int kFormWidth = 662;
constexpr int kFormHeight = 647;
constexpr int kBelowGrid = TImageSearch::kMargin + 3 * TImageSearch::kCellPitch + TImageSearch::kCellSize + 12;

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
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

TFrmImages::TFrmImages(HWND owner, TSearchEndpoint endpoint) : owner_(owner), search_(std::move(endpoint)) {
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kFormWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kFormHeight) / 2;
  CreateHandle("TFrmImages", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME, owner, x, y,
               kFormWidth, kFormHeight, kCaption, CS_DBLCLKS);
  SetClassLongPtrA(Handle(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
  arial_ = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
  const int m = TImageSearch::kMargin;
  eSuch_ = AddControl("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, m, kBelowGrid, 380, 22, kESuchId);
  SendMessageA(eSuch_, WM_SETFONT, reinterpret_cast<WPARAM>(arial_), FALSE);
  btnSearch_ = AddControl("BUTTON", "Search ...", WS_TABSTOP | BS_PUSHBUTTON, 400, kBelowGrid - 2, 112, 26, kBtnSearchId);
  btnNext_ = AddControl("BUTTON", "Next >>", WS_TABSTOP | BS_PUSHBUTTON, 520, kBelowGrid - 2, 112, 26, kBtnNextId);
  lInfo_ = AddControl("STATIC", "", SS_LEFT, m, kBelowGrid + 30, 380, 18, kLInfoId);
  AddControl("STATIC", "(Doubleclick image to save and exit ...)", SS_RIGHT, 300, kBelowGrid + 56, 332, 18,
             kLabel2Id);
}

TFrmImages::~TFrmImages() {
  DestroyHandle();
  if (arial_) DeleteObject(arial_);
}

HWND TFrmImages::AddControl(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
                            int id) {
  HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

void TFrmImages::SetAlbum(const TAlbum& album) {
  album_ = &album;
  // The change notification resets the page offset, as typing would.
  SetWindowTextA(eSuch_, (album.Artist + " " + album.Album).c_str());
}

void TFrmImages::FormShow() {
  SetWindowTextA(lInfo_, "");
  selected_ = -1;
  search_.ShowPlaceholders(PlaceholderPicture());
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
  // The owner first, so the activation goes back to it and not elsewhere.
  if (ownerWasEnabled) EnableWindow(owner_, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  return ok_;
}

void TFrmImages::RunSearch() {
  EnableWindow(btnSearch_, FALSE);
  EnableWindow(btnNext_, FALSE);
  searching_ = true;
  const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  TSearchEvents events;
  events.CellFilled = [&](int32_t cell) {
    const TRect r = TImageSearch::CellRect(cell);
    const RECT area{r.Left, r.Top, r.Right, r.Bottom};
    InvalidateRect(Handle(), &area, FALSE);
  };
  events.BetweenDownloads = [] { PumpPendingMessages(); };
  search_.Run(WindowText(eSuch_), client_, events);
  searching_ = false;
  SetCursor(previous);
  // The search button stays off: later pages, and a changed text, go through Next.
  EnableWindow(btnNext_, TRUE);
}

void TFrmImages::Image1MouseMove(int32_t cell) {
  if (const auto info = search_.InfoFor(cell)) SetWindowTextA(lInfo_, info->c_str());
}

void TFrmImages::Image1DblClick(int32_t cell) {
  // A placeholder, or a picture left from an earlier search, is no cover: storing
  // it would replace the album's real picture.
  if (!search_.Cells[cell].Filled) return;
  try {
    chosen_ = search_.PictureOf(cell, client_);
  } catch (const std::exception& e) {
    SetWindowTextA(lInfo_, e.what());
    return;
  }
  selected_ = cell;
  ok_ = true;
  done_ = true;
}

void TFrmImages::PaintCells(HDC dc) {
  for (int32_t i = 0; i < TImageSearch::kCellCount; ++i) {
    const TRect r = TImageSearch::CellRect(i);
    DrawBitmap(dc, r.Left, r.Top, search_.Cells[i].Thumbnail);
  }
}

LRESULT TFrmImages::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      // Search and Next run the same search; Next's page is the offset the last one left.
      if ((LOWORD(wParam) == kBtnSearchId || LOWORD(wParam) == kBtnNextId) && HIWORD(wParam) == BN_CLICKED &&
          !searching_)
        RunSearch();
      if (LOWORD(wParam) == kESuchId && HIWORD(wParam) == EN_CHANGE) ESuchChange();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      PaintCells(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
      Image1MouseMove(TImageSearch::CellAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      return 0;
    case WM_LBUTTONDBLCLK:
      if (const int32_t cell = TImageSearch::CellAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); cell >= 0)
        Image1DblClick(cell);
      return 0;
    case WM_SETCURSOR:
      if (!searching_) break;
      SetCursor(LoadCursor(nullptr, IDC_WAIT));
      return TRUE;
    case WM_CLOSE:
      done_ = true;
      return 0;
    default:
      break;
  }
  return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace tavio::ui
