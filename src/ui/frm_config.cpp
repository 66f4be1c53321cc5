#include "ui/frm_config.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/background_scan.h"
#include "settings/plugin_folder.h"
#include "settings/tolerant_settings.h"
#include "text/wide_path_win32.h"
#include "ui/curve_chart.h"
#include "ui/themed_controls.h"
#include "ui/window.h"

namespace tavio::ui {
namespace {

constexpr int kWidth = 474;
constexpr int kHeight = 536;
constexpr UINT kRunTaskMessage = WM_APP + 1;
constexpr int kGenrePage = 4;
constexpr int kCheckListItemHeight = 18;
constexpr int kCheckBoxSide = 13;
constexpr int kCheckColumn = kCheckBoxSide + 4;
constexpr int kChartHeight = 243;
constexpr int kBottomPanel = 44;

const char* const kPageNames[] = {"Library", "Display", "Movement", "Mirror", "Genre", "Info"};

const char* const kHelpLines[] = {
    "Important :",
    "",
    "Tested with Winamp 5.5 Classic / Bento  only.",
    "",
    "Only works with a subdirectory for each album, containing a ",
    "jpg/bmp file with the cover art. ",
    "",
    "Click shows the album / titlelist.",
    "Click on song starts song. Click on header stops playing and ",
    "starts whole album. ",
    "",
    " Filter for image-files.",
    " Filter for genres. After rescan you need to reset your filters. ",
    " Adjustable size. (Smaller images = smoother flow)",
    " Optional control panel. (Hold mouse down for fast scrolling)",
    " Insert cover from clipboard. (Right mouse-click opens small ",
    "menu)",
    "",
    "Fast scrolling : Hold left mouse button down at left or right ",
    "album stack. ",
    "",
    "If you add or delete albums you need to rescan directories.",
    "",
    "Still not solved:",
    "  Sometimes wrong size after start. You have to resize window;",
    "  No mousewheel support. My window often doesn't get the ",
    "onwheel-event  ",
    "  ",
    "",
    "Hope you like it !",
};

struct TControlSpec {
  int id;
  int page;
  const char* className;
  const char* text;
  DWORD style;
  DWORD exStyle;
  int x, y, w, h;  // on the page
};

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kRadio = BS_RADIOBUTTON | WS_TABSTOP;
constexpr DWORD kDragList = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kCheckList = kDragList | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
constexpr DWORD kSlider = TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP;

// Every control but the tabs, the chart and "Close", page by page; w and h
// are the page's size.
std::vector<TControlSpec> PageControls(int w, int h) {
  return {
      {kLabel7, 0, "STATIC", "Searchpaths :", kLabel, 0, 0, 0, 200, 16},
      {kLBDir, 0, "LISTBOX", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
       WS_EX_CLIENTEDGE, 0, 18, w - 104, 150},
      {kBtnAddDir, 0, "BUTTON", "Add ...", kButton, 0, w - 96, 18, 96, 26},
      {kSpeedButton3, 0, "BUTTON", "Delete", kButton, 0, w - 96, 50, 96, 26},
      {kLabel12, 0, "STATIC", "Only load pictures ", kLabel, 0, 0, 184, 120, 16},
      {kEFiles, 0, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 124, 181, w - 228, 22},
      {kRBScan1, 0, "BUTTON", "Scan all subfolders and show default image if no image found.", kRadio, 0, 0, 214, w,
       20},
      {kRBScan2, 0, "BUTTON", "Just scan folders with images.", kRadio, 0, 0, 236, w, 20},
      {kCBEmbedded, 0, "BUTTON", "Use covers embedded in MP3 files", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, 260, w, 20},
      {kBtnscan, 0, "BUTTON", "Scan Directories ...", kButton, 0, 0, 292, 150, 28},
      {kLInfo, 0, "STATIC", "don't forget to ...", kLabel, 0, 160, 298, 150, 16},
      {kBtnStop, 0, "BUTTON", "Stop", kButton, 0, w - 96, 292, 96, 28},
      {kScanProgress, 0, "STATIC", "", kLabel, 0, 0, 330, w, 16},
      {kScanFolder, 0, "STATIC", "", kLabel | SS_PATHELLIPSIS, 0, 0, 348, w, 16},

      {kLabel1, 1, "STATIC", "Show Information : ", kLabel, 0, 0, 0, 200, 16},
      {kLBInfo, 1, "LISTBOX", "", kCheckList, WS_EX_CLIENTEDGE, 0, 18, 200, 4 * kCheckListItemHeight + 6},
      {kLabel6, 1, "STATIC", "Sort albums the following order :", kLabel, 0, 0, 120, w, 16},
      {kLSort, 1, "LISTBOX", "", kDragList, WS_EX_CLIENTEDGE, 0, 138, 200, 4 * 16 + 6},
      {kLabel8, 1, "STATIC", "(Use drag'n drop to change order)", kLabel, 0, 0, 214, w, 16},

      {kLabel4, 2, "STATIC", "Cover-movement: Change curve with your mouse (left mouse button down) and check it out.",
       kLabel, 0, 0, kChartHeight + 6, w, 32},
      {kRBPanel1, 2, "BUTTON", "Control scrolling with mouse-movement", kRadio, 0, 0, kChartHeight + 44, w, 20},
      {kRBPanel2, 2, "BUTTON", "Use control panel", kRadio, 0, 0, kChartHeight + 66, w, 20},
      {kCBReverse, 2, "BUTTON", "Reverse", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 0, kChartHeight + 96, w, 20},

      {kLabel5, 3, "STATIC", "Mirror - effect :", kLabel, 0, 0, 0, w, 16},
      {kLabel3, 3, "STATIC", "None", kLabel, 0, 0, 28, 44, 16},
      {kSAlpha, 3, "msctls_trackbar32", "", kSlider, 0, 48, 20, w - 104, 32},
      {kLabel2, 3, "STATIC", "Bright", kLabel, 0, w - 50, 28, 50, 16},
      {kLabel9, 3, "STATIC", "Size : (smaller size = smoother flow)", kLabel, 0, 0, 80, w, 16},
      {kLabel10, 3, "STATIC", "Min", kLabel, 0, 0, 108, 44, 16},
      {kTBsize, 3, "msctls_trackbar32", "", kSlider, 0, 48, 100, w - 104, 32},
      {kLabel11, 3, "STATIC", "Max", kLabel, 0, w - 50, 108, 50, 16},

      {kSpeedButton2, 4, "BUTTON", "Check all", kButton, 0, 0, 0, 96, 26},
      {kSpeedButton4, 4, "BUTTON", "Uncheck all", kButton, 0, 104, 0, 96, 26},
      {kSpeedButton5, 4, "BUTTON", "Toggle", kButton, 0, 208, 0, 96, 26},
      {kCBGenre, 4, "LISTBOX", "", kCheckList | LBS_MULTICOLUMN | WS_HSCROLL, WS_EX_CLIENTEDGE, 0, 34, w, h - 34},

      {kMemo1, 5, "EDIT", "", ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 0, 0, w, h},
  };
}

// A dialog template with no controls: the dialog makes its own in pixels.
std::vector<DWORD> EmptyDialogTemplate(const char* title) {
  const DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFOREGROUND;
  std::vector<WORD> words = {LOWORD(style), HIWORD(style), 0, 0, 0, 0, 0, 200, 200, 0, 0};
  for (const wchar_t c : Widen(title)) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  std::vector<DWORD> aligned((words.size() + 1) / 2);
  std::memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
  return aligned;
}

std::string HelpText() {
  std::string text;
  for (const char* line : kHelpLines) text += std::string(line) + "\r\n";
  return text;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder the browser should show selected, and how often it was tried.
// Some browsers fill their folder tree only after they report themselves
// ready, so the selection is tried again on a timer until the browser reports
// that folder selected, for a second at most.
thread_local const wchar_t* g_browseStart = nullptr;
thread_local int g_browseTries = 0;
constexpr UINT_PTR kBrowseTimer = 1;
constexpr int kBrowseTries = 20;

void CALLBACK SelectStartFolder(HWND hwnd, UINT, UINT_PTR, DWORD) {
  if (!g_browseStart || ++g_browseTries > kBrowseTries) {
    KillTimer(hwnd, kBrowseTimer);
    return;
  }
  SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(g_browseStart));
}

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM selected, LPARAM) {
  if (msg == BFFM_INITIALIZED && g_browseStart) {
    g_browseTries = 0;
    SelectStartFolder(hwnd, 0, 0, 0);
    SetTimer(hwnd, kBrowseTimer, 50, SelectStartFolder);
  } else if (msg == BFFM_SELCHANGED && g_browseStart) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(selected), path) && _wcsicmp(path, g_browseStart) == 0)
      g_browseStart = nullptr;
  }
  return 0;
}

// The shell's folder browser, rooted at the desktop, file-system folders
// only, the current folder selected when it exists; "" when cancelled.
std::string BrowseForFolder(HWND owner) {
  std::wstring current(32768, L'\0');
  current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = L"Choose a directory";
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseCallback;
  g_browseStart = FolderExists(Narrow(current)) ? current.c_str() : nullptr;
  std::string chosen;
  if (PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info)) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) chosen = Narrow(path);
    CoTaskMemFree(item);
  }
  g_browseStart = nullptr;
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

void ShowMessage(HWND owner, const std::string& text) {
  ShowMessageBox(owner, text, "Marquelle", MB_OK | MB_ICONINFORMATION);
}

class TFrmConfig {
 public:
  explicit TFrmConfig(TConfigModel& model)
      : model_(model), scan_([this](std::function<void()> task) { Post(std::move(task)); }) {
    scan_.OnProgress = [this](const TScanProgress& p) { ShowProgress(p); };
    scan_.OnFinished = [this](std::unique_ptr<TOLSaveable> found, const std::vector<std::string>& loadErrors,
                              const std::string& error) { ScanFinished(std::move(found), loadErrors, error); };
  }
  ~TFrmConfig() {
    if (font_) DeleteObject(font_);
  }

  void ShowModal(HWND owner) {
    const std::vector<DWORD> dialog = EmptyDialogTemplate("Settings");
    const INT_PTR result = DialogBoxIndirectParamW(ModuleInstance(), reinterpret_cast<LPCDLGTEMPLATEW>(dialog.data()),
                                                   owner, &TFrmConfig::DialogProc, reinterpret_cast<LPARAM>(this));
    if (result == -1) throw std::runtime_error("Cannot open the settings dialog");
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
      reinterpret_cast<TFrmConfig*>(lParam)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<TFrmConfig*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    return Guarded(hwnd, [&] { return self->HandleMessage(msg, wParam, lParam); }, INT_PTR{FALSE});
  }

  static LRESULT CALLBACK ListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(list, &TFrmConfig::ListProc, id);
    return Guarded(
        list,
        [&] { return reinterpret_cast<TFrmConfig*>(self)->ListMessage(list, static_cast<int>(id), msg, wParam, lParam); },
        LRESULT{0});
  }

  INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
      case WM_INITDIALOG:
        Create();
        return FALSE;  // the focus is set
      case WM_NEXTDLGCTL:
        if (LOWORD(lParam)) return FALSE;
        MoveFocus(wParam != 0);
        return TRUE;
      case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kTabs && header->code == TCN_SELCHANGE)
          ShowPage(static_cast<int>(SendDlgItemMessageW(hwnd_, kTabs, TCM_GETCURSEL, 0, 0)));
        return FALSE;
      }
      case WM_HSCROLL:
        SliderMoved(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
        return TRUE;
      case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kCheckListItemHeight;
        return TRUE;
      case WM_DRAWITEM:
        DrawCheckItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != Item(kMemo1)) return FALSE;
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOBK));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOTEXT));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_INFOBK));
      case WM_SETCURSOR:
        if (!scan_.Running()) return FALSE;
        SetCursor(LoadCursor(nullptr, IDC_APPSTARTING));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      case WM_CLOSE:
        Close();
        return TRUE;
      case kRunTaskMessage: {
        std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
        (*task)();
        return TRUE;
      }
      case WM_DESTROY:
        DropPostedTasks();
        return FALSE;
      default:
        return FALSE;
    }
  }

  // --- Building ---
  void Create() {
    PlaceOnScreen();
    font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    RECT client;
    GetClientRect(hwnd_, &client);
    const HWND tabs = AddControl("SysTabControl32", "", WS_CLIPSIBLINGS | TCS_BUTTONS | TCS_FLATBUTTONS | WS_TABSTOP, 0,
                                 kTabs, 4, 4, client.right - 8, client.bottom - kBottomPanel - 4);
    for (int i = 0; i < 6; ++i) {
      std::wstring name = Widen(kPageNames[i]);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = name.data();
      SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT tab{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    pageLeft_ = 12;
    pageTop_ = 4 + tab.bottom + 10;
    const int pageWidth = client.right - 2 * pageLeft_;
    const int pageHeight = client.bottom - kBottomPanel - pageTop_;
    for (const TControlSpec& c : PageControls(pageWidth, pageHeight)) {
      AddControl(c.className, c.text, c.style, c.exStyle, c.id, pageLeft_ + c.x, pageTop_ + c.y, c.w, c.h);
      pageOf_.push_back({c.id, c.page});
    }
    chart_ = std::make_unique<TCurveChart>(hwnd_, kChart, pageLeft_, pageTop_, pageWidth, kChartHeight, model_.Curve);
    pageOf_.push_back({kChart, 2});
    AddControl("BUTTON", "Close", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, kClose, client.right - 108,
               client.bottom - kBottomPanel + 8, 96, 28);
    // Later children lie below earlier ones; the tab strip goes under the
    // pages, so it never paints over them.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const int id : {kLBInfo, kLSort, kCBGenre})
      SetWindowSubclass(Item(id), &TFrmConfig::ListProc, id, reinterpret_cast<DWORD_PTR>(this));
    SetupSliders();
    WriteWindowText(Item(kMemo1), HelpText());

    // A store that cannot be read leaves the defaults; the user hears why.
    Guarded(hwnd_, [&] { model_.FormShow(*OpenSettingsStore(), CurrentPluginFolder()); return 0; }, 0);
    FillControls();
    SendMessageW(tabs, TCM_SETCURSEL, kGenrePage, 0);
    ShowPage(kGenrePage);
    SetFocus(tabs);
    // Once, over the dialog: the modal loop would show it only after the box.
    if (const std::string unreadable = UnreadableSettingsText(model_.UnreadableSettings); !unreadable.empty()) {
      Post([this, unreadable] {
        ShowWindow(hwnd_, SW_SHOW);
        ShowMessage(hwnd_, unreadable);
      });
    }
  }

  void PlaceOnScreen() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - kWidth) / 2,
                 work.top + (work.bottom - work.top - kHeight) / 2, kWidth, kHeight, SWP_NOZORDER);
  }

  HWND AddControl(const char* className, const char* text, DWORD style, DWORD exStyle, int id, int x, int y, int w,
                  int h) {
    const HWND control =
        CreateWindowExW(exStyle, Widen(className).c_str(), Widen(text).c_str(), WS_CHILD | style, x, y, w, h, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
    if (!control) throw std::runtime_error(std::string("Cannot create the control ") + className);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (id == kTabs) ShowWindow(control, SW_SHOW);
    return control;
  }

  void SetupSliders() {
    const struct {
      int id, low, high;
    } sliders[] = {{kSAlpha, TConfigModel::kMinAlpha, TConfigModel::kMaxAlpha},
                   {kTBsize, TConfigModel::kMinCoverSize, TConfigModel::kMaxCoverSize}};
    for (const auto& s : sliders) {
      SendDlgItemMessageW(hwnd_, s.id, TBM_SETRANGE, TRUE, MAKELPARAM(s.low, s.high));
      SendDlgItemMessageW(hwnd_, s.id, TBM_SETTICFREQ, 5, 0);
    }
  }

  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  // --- Showing the model ---
  void FillControls() {
    FillPaths();
    WriteWindowText(Item(kEFiles), model_.PictureMasks);
    ShowChoices();
    FillInfo();
    FillSort();
    SendDlgItemMessageW(hwnd_, kSAlpha, TBM_SETPOS, TRUE, model_.MirrorAlpha());
    SendDlgItemMessageW(hwnd_, kTBsize, TBM_SETPOS, TRUE, model_.CoverSize());
    FillGenres();
  }

  void ShowChoices() {
    CheckDlgButton(hwnd_, kRBScan1, model_.ScanAll ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, kRBScan2, model_.ScanAll ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(hwnd_, kCBEmbedded, model_.EmbeddedArt ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, kRBPanel1, model_.UseControlPanel ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(hwnd_, kRBPanel2, model_.UseControlPanel ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, kCBReverse, model_.ReverseScroll ? BST_CHECKED : BST_UNCHECKED);
  }

  void FillList(int id, const std::vector<std::string>& texts, int32_t selected) {
    const HWND list = Item(id);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& text : texts)
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    SendMessageW(list, LB_SETCURSEL, selected, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }

  void FillPaths() {
    FillList(kLBDir, model_.SearchPaths, model_.SelectedPath);
    // A list box scrolls sideways only as far as it is told.
    const HWND list = Item(kLBDir);
    const HDC dc = GetDC(list);
    const HGDIOBJ old = SelectObject(dc, font_);
    int widest = 0;
    for (const std::string& path : model_.SearchPaths) {
      SIZE size{};
      const std::wstring wide = Widen(path);
      GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest > 0 ? widest + 8 : 0, 0);
  }
  void FillSort() { FillList(kLSort, model_.SortEntries, model_.SelectedSort); }
  void FillInfo() {
    std::vector<std::string> texts;
    for (const TInfoEntry& entry : model_.InfoEntries) texts.push_back(entry.Text);
    FillList(kLBInfo, texts, model_.SelectedInfo);
  }
  void FillGenres() {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < model_.Genres.Count(); ++i) texts.push_back(model_.Genres.Entry(i).Text);
    RECT r;
    GetClientRect(Item(kCBGenre), &r);
    SendDlgItemMessageW(hwnd_, kCBGenre, LB_SETCOLUMNWIDTH, r.right / 3, 0);
    FillList(kCBGenre, texts, -1);
  }

  bool ShouldShow(int id) const {
    if (id == kLInfo) return model_.ShowScanHint;
    if (id == kBtnStop) return scan_.Running();
    return true;
  }

  void ShowPage(int page) {
    page_ = page;
    for (const auto& [id, itsPage] : pageOf_)
      ShowWindow(Item(id), itsPage == page && ShouldShow(id) ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(kClose), SW_SHOW);
  }

  // Tab and Shift+Tab: the tab strip first, then the page's controls, then
  // "Close". The strip lies below the pages (so it never paints over them),
  // which would make it last in the dialog's own order.
  void MoveFocus(bool backwards) {
    const HWND tabs = Item(kTabs);
    std::vector<HWND> order{tabs};
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
      if (child != tabs && (style & WS_TABSTOP) && IsWindowVisible(child) && IsWindowEnabled(child))
        order.push_back(child);
    }
    const HWND focus = GetFocus();
    size_t at = 0;
    for (size_t i = 0; i < order.size(); ++i)
      if (order[i] == focus || IsChild(order[i], focus)) at = i;
    const size_t next = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(order[next]), TRUE);
  }

  void DrawCheckItem(const DRAWITEMSTRUCT& d) {
    if (d.itemID == static_cast<UINT>(-1)) return;
    const int32_t index = static_cast<int32_t>(d.itemID);
    bool checked = false;
    std::string text;
    if (d.CtlID == static_cast<UINT>(kLBInfo) && index < static_cast<int32_t>(model_.InfoEntries.size())) {
      checked = model_.InfoEntries[index].Checked;
      text = model_.InfoEntries[index].Text;
    } else if (d.CtlID == static_cast<UINT>(kCBGenre) && index < model_.Genres.Count()) {
      checked = model_.Genres.Entry(index).Checked;
      text = model_.Genres.Entry(index).Text;
    }
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    FillRect(d.hDC, &d.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int top = d.rcItem.top + (d.rcItem.bottom - d.rcItem.top - kCheckBoxSide) / 2;
    RECT box{d.rcItem.left + 2, top, d.rcItem.left + 2 + kCheckBoxSide, top + kCheckBoxSide};
    DrawFrameControl(d.hDC, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
    SetBkMode(d.hDC, TRANSPARENT);
    SetTextColor(d.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textRect = d.rcItem;
    textRect.left += kCheckColumn + 2;
    const std::wstring wide = Widen(text);
    DrawTextW(d.hDC, wide.c_str(), static_cast<int>(wide.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (d.itemState & ODS_FOCUS) DrawFocusRect(d.hDC, &d.rcItem);
  }

  // --- The user's input ---
  void Command(int id, int code) {
    switch (id) {
      case IDOK:
      case IDCANCEL:
      case kClose:
        if (code == BN_CLICKED) Close();
        break;
      case kBtnAddDir:
        AddDirectory();
        break;
      case kSpeedButton3:
        model_.DeleteSearchPath();
        FillPaths();
        break;
      case kBtnscan:
        StartScan();
        break;
      case kBtnStop:
        scan_.Stop();
        WriteWindowText(Item(kScanFolder), "Stopping ...");
        break;
      case kRBScan1:
      case kRBScan2:
        model_.ScanAll = id == kRBScan1;
        ShowChoices();
        break;
      case kRBPanel1:
      case kRBPanel2:
        model_.UseControlPanel = id == kRBPanel2;
        ShowChoices();
        break;
      case kCBEmbedded:
        model_.EmbeddedArt = IsDlgButtonChecked(hwnd_, kCBEmbedded) == BST_CHECKED;
        break;
      case kCBReverse:
        model_.ReverseScroll = IsDlgButtonChecked(hwnd_, kCBReverse) == BST_CHECKED;
        break;
      case kSpeedButton2:
      case kSpeedButton4:
        model_.Genres.SetAllChecked(id == kSpeedButton2);
        InvalidateRect(Item(kCBGenre), nullptr, FALSE);
        break;
      case kSpeedButton5:
        model_.Genres.ToggleAll();
        InvalidateRect(Item(kCBGenre), nullptr, FALSE);
        break;
      case kEFiles:
        if (code == EN_CHANGE) model_.PictureMasks = ReadWindowText(Item(kEFiles));
        break;
      case kLBDir:
        if (code == LBN_SELCHANGE) model_.SelectedPath = CurrentSelection(kLBDir);
        break;
      case kLBInfo:
        if (code == LBN_SELCHANGE) model_.SelectedInfo = CurrentSelection(kLBInfo);
        break;
      case kLSort:
        if (code == LBN_SELCHANGE) model_.SelectedSort = CurrentSelection(kLSort);
        break;
      default:
        break;
    }
  }

  int32_t CurrentSelection(int id) const {
    return static_cast<int32_t>(SendDlgItemMessageW(hwnd_, id, LB_GETCURSEL, 0, 0));
  }

  void SliderMoved(int id) {
    const int32_t position = static_cast<int32_t>(SendDlgItemMessageW(hwnd_, id, TBM_GETPOS, 0, 0));
    if (id == kSAlpha) model_.SetMirrorAlpha(position);
    if (id == kTBsize) model_.SetCoverSize(position);
  }

  void AddDirectory() {
    model_.ShowScanHint = true;
    ShowPage(page_);
    const std::string folder = BrowseForFolder(hwnd_);
    if (folder.empty()) return;
    model_.AddSearchPath(folder);
    FillPaths();
  }

  void ToggleCheck(int id, int32_t index) {
    if (id == kLBInfo) {
      if (index >= static_cast<int32_t>(model_.InfoEntries.size())) return;
      model_.InfoEntries[index].Checked = !model_.InfoEntries[index].Checked;
    } else {
      if (index >= model_.Genres.Count()) return;
      model_.Genres.Toggle(index);
    }
    InvalidateRect(Item(id), nullptr, FALSE);
  }

  // The entry under a point of the list, or -1 over empty space.
  static int32_t EntryAt(HWND list, POINT pt) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    return HIWORD(hit) ? -1 : static_cast<int32_t>(LOWORD(hit));
  }

  static bool InCheckBox(HWND list, int32_t index, int x) {
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    return x >= item.left && x < item.left + kCheckColumn;
  }

  static TDragList DragListOf(int id) { return id == kLBInfo ? TDragList::Info : TDragList::Sort; }

  // A drag from dragSource_ reached a point of list (client coordinates).
  void DragTo(HWND list, POINT pt) {
    ClientToScreen(list, &pt);
    const HWND target = WindowFromPoint(pt);
    const int targetId = target && GetParent(target) == hwnd_ ? GetDlgCtrlID(target) : 0;
    if (targetId != kLBInfo && targetId != kLSort) return;
    ScreenToClient(target, &pt);
    model_.DragOver(DragListOf(targetId), DragListOf(dragSource_), EntryAt(target, pt));
    if (targetId == dragSource_) targetId == kLBInfo ? FillInfo() : FillSort();
  }

  LRESULT ListMessage(HWND list, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool checks = id == kLBInfo || id == kCBGenre;
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: {
        const LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
        const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int32_t index = EntryAt(list, pt);
        if (checks && index >= 0 && InCheckBox(list, index, pt.x)) {
          ToggleCheck(id, index);
        } else if (id != kCBGenre) {
          dragSource_ = id;
          (id == kLBInfo ? model_.SelectedInfo : model_.SelectedSort) = CurrentSelection(id);
        }
        return result;
      }
      case WM_MOUSEMOVE:
        // The list's own tracking would move the selection instead.
        if (dragSource_ == id && (wParam & MK_LBUTTON)) {
          DragTo(list, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
          return 0;
        }
        break;
      case WM_LBUTTONUP:
      case WM_CAPTURECHANGED:
        dragSource_ = 0;
        break;
      case WM_CHAR:
        if (checks && wParam == ' ') {
          const int32_t index = CurrentSelection(id);
          if (index >= 0) ToggleCheck(id, index);
          return 0;
        }
        break;
      default:
        break;
    }
    return DefSubclassProc(list, msg, wParam, lParam);
  }

  // --- The scan ---
  void StartScan() {
    if (scan_.Running()) return;
    model_.BeginScan();
    SetControlsEnabled(false);
    WriteWindowText(Item(kScanProgress), "Scanning ...");
    WriteWindowText(Item(kScanFolder), "");
    scan_.Start(model_.NewScan());
    ShowPage(page_);
  }

  void ShowProgress(const TScanProgress& p) {
    const std::string figures =
        std::to_string(p.FoldersVisited) + " folders searched, " + std::to_string(p.AlbumsFound) + " albums found";
    WriteWindowText(Item(kScanProgress), figures);
    WriteWindowText(Item(kScanFolder), p.CurrentFolder);
  }

  void ScanFinished(std::unique_ptr<TOLSaveable> found, const std::vector<std::string>& loadErrors,
                    const std::string& error) {
    SetControlsEnabled(true);
    ShowPage(page_);
    if (found) {
      WriteWindowText(Item(kScanFolder), "");
      model_.FinishScan(*found, [this](const std::string& text) { ShowMessage(hwnd_, text); }, loadErrors);
      FillGenres();
    } else {
      WriteWindowText(Item(kScanFolder), "Scan stopped; the library is as it was.");
      if (!error.empty()) ShowErrorMessage(hwnd_, error);
      model_.AbandonScan();
    }
    if (closeAfterScan_) Close();
  }

  // Everything but Stop while a scan runs.
  void SetControlsEnabled(bool enabled) {
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetDlgCtrlID(child) != kBtnStop) EnableWindow(child, enabled);
    EnableWindow(Item(kBtnStop), !enabled);
  }

  // --- Closing ---
  // However the dialog is closed; during a scan, the scan stops first.
  void Close() {
    if (scan_.Running()) {
      closeAfterScan_ = true;
      scan_.Stop();
      return;
    }
    closeAfterScan_ = false;
    // A store that cannot be written is reported; the dialog closes anyway.
    Guarded(hwnd_, [&] { model_.FormClose(*OpenSettingsStore()); return 0; }, 0);
    EndDialog(hwnd_, IDOK);
  }

  // --- Tasks from the scan's thread ---
  void Post(std::function<void()> task) {
    auto* boxed = new std::function<void()>(std::move(task));
    if (!hwnd_ || !PostMessageW(hwnd_, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(boxed))) delete boxed;
  }

  void DropPostedTasks() {
    MSG msg;
    while (PeekMessageW(&msg, hwnd_, kRunTaskMessage, kRunTaskMessage, PM_REMOVE))
      delete reinterpret_cast<std::function<void()>*>(msg.lParam);
  }

  TConfigModel& model_;
  // Written by the dialog's thread before the scan's thread can post.
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  std::unique_ptr<TCurveChart> chart_;
  std::vector<std::pair<int, int>> pageOf_;
  int pageLeft_ = 0;
  int pageTop_ = 0;
  int page_ = kGenrePage;
  int dragSource_ = 0;
  bool closeAfterScan_ = false;
  TBackgroundScan scan_;
};

}  // namespace

void ShowConfigDialog(HWND owner, TConfigModel& model) {
  TThemedControls themed;
  TFrmConfig form(model);
  form.ShowModal(owner);
}

}  // namespace tavio::ui
