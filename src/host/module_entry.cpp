// The plug-in's exported entry and the module's Init, Config, Render and Quit:
// the whole surface the player sees.
#include <windows.h>

#include <atomic>
#include <exception>
#include <memory>
#include <string>

#include "host/host_form.h"
#include "host/vis_module.h"
#include "settings/config_model.h"
#include "settings/frame_rect_settings.h"
#include "ui/frm_config.h"

namespace tavio::host {
namespace {

constexpr const char* kDescription = "Marquelle";

void __cdecl Config(VisModule* module);
int __cdecl Init(VisModule* module);
int __cdecl Render(VisModule* module);
void __cdecl Quit(VisModule* module);

VisModule g_module = {kDescription, nullptr, nullptr, 0, 0, 25, 25, 0, 2, {}, {}, Config, Init, Render, Quit,
                      nullptr};

VisModule* __cdecl GetModule(int index) { return index == 0 ? &g_module : nullptr; }

const VisHeader g_header = {kVisHeaderVersion, kDescription, GetModule};

// Module-wide state, one per loaded DLL. HostForm lives on the thread that
// called Init; Config (on the player's main thread) only reads its window.
std::unique_ptr<TForm2> g_hostForm;
std::atomic<HWND> g_hostFormWindow{nullptr};
HWND g_frameWindow = nullptr;
EmbedWindowState* g_frameState = nullptr;
// The frame whose procedure Init replaced, and the procedure it had before.
HWND g_subclassedFrame = nullptr;
WNDPROC g_previousFrameProc = nullptr;

// The frame rectangle lives in the settings store; errors leave fields 0.
void LoadFrameRect(RECT& r) {
  TRect saved;
  ReadFrameRect(saved);
  r = {saved.Left, saved.Top, saved.Right, saved.Bottom};
}

void SaveFrameRect(const RECT& r) { WriteFrameRect(TRect{r.left, r.top, r.right, r.bottom}); }

void ShowInformation(HWND owner, const std::string& text) {
  ui::ShowMessageBox(owner, text, kDescription, MB_OK | MB_ICONINFORMATION);
}

LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_WINDOWPOSCHANGED && g_hostForm && !g_hostForm->Visible()) {
    try {
      ShowWindow(g_frameWindow, SW_SHOW);
      g_hostForm->Show();
    } catch (...) {
    }
  }
  if (msg == WM_SIZE && g_hostForm) g_hostForm->FitFrame();
  // The frame holds the focus while the view is used: its wheel notches are the view's.
  if (msg == WM_MOUSEWHEEL && g_hostForm && g_hostForm->CF())
    return SendMessageW(g_hostForm->CF()->Handle(), msg, wParam, lParam);
  return CallWindowProcW(g_previousFrameProc, hwnd, msg, wParam, lParam);
}

// Every Init's frame gets the procedure, and Quit gives the frame its own
// back: the player may unload the DLL while the frame window lives on.
void SubclassFrame(HWND frame) {
  g_previousFrameProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameWindowProc)));
  g_subclassedFrame = frame;
}

// Only while ours is the frame's procedure: one put on top of it later would
// be cut off, so then the frame stays as it is.
void RestoreFrameProc() {
  if (!g_subclassedFrame) return;
  if (IsWindow(g_subclassedFrame) &&
      GetWindowLongPtrW(g_subclassedFrame, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&FrameWindowProc)) {
    SetWindowLongPtrW(g_subclassedFrame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previousFrameProc));
  }
  g_subclassedFrame = nullptr;
}

void OpenHostForm(VisModule* module) {
  g_hostForm = std::make_unique<TForm2>(g_frameWindow);
  g_hostFormWindow = g_hostForm->Handle();
  SubclassFrame(g_frameState->me);
  SendMessageW(module->hwndParent, WM_USER, reinterpret_cast<WPARAM>(g_frameWindow), kIpcSetVisWnd);
  g_hostForm->Show();
  ShowWindow(g_frameWindow, SW_SHOW);
}

int __cdecl Init(VisModule* module) {
  if (g_hostForm) return 0;
  try {
    g_frameState = nullptr;
    const auto embed = reinterpret_cast<EmbedWindowFn>(SendMessageW(module->hwndParent, WM_USER, 0, kIpcGetEmbedIf));
    // The block stays allocated: the player may keep pointing at it.
    g_frameState = static_cast<EmbedWindowState*>(calloc(1, sizeof(EmbedWindowState)));
    g_frameState->flags = 0;
    LoadFrameRect(g_frameState->r);
    g_frameWindow = embed ? embed(g_frameState) : nullptr;
    ui::WriteWindowText(g_frameState->me, g_header.description);
    if (g_frameWindow && IsWindow(g_frameWindow))
      OpenHostForm(module);
    else
      ShowInformation(module->hwndParent, "Kein Parent-Handle");
  } catch (const std::exception& e) {
    ShowInformation(module->hwndParent, e.what());
  } catch (...) {
    ShowInformation(module->hwndParent, "Unknown error");
  }
  return 0;
}

int __cdecl Render(VisModule*) { return 0; }

void __cdecl Quit(VisModule* module) {
  try {
    if (g_frameState) SaveFrameRect(g_frameState->r);
    if (g_hostForm) {
      ShowWindow(g_hostForm->Handle(), SW_HIDE);
      g_hostFormWindow = nullptr;
      g_hostForm.reset();
    }
    SendMessageW(module->hwndParent, WM_USER, 0, kIpcSetVisWnd);
  } catch (...) {
    // Nothing may reach the player.
  }
  g_hostForm.reset();
  g_hostFormWindow = nullptr;
  RestoreFrameProc();
  g_frameState = nullptr;
}

void __cdecl Config(VisModule*) {
  if (const HWND form = g_hostFormWindow) {
    PostMessageW(form, kShowSettingsMessage, 0, 0);
    return;
  }
  // No view: the dialog alone, without album lists or handlers. The player
  // may ask again while it is open; one is enough.
  static std::atomic<bool> open{false};
  if (open.exchange(true)) return;
  try {
    TConfigModel dialog;
    ui::ShowConfigDialog(nullptr, dialog);
  } catch (const std::exception& e) {
    ShowInformation(nullptr, e.what());
  } catch (...) {
    ShowInformation(nullptr, "Unknown error");
  }
  open = false;
}

}  // namespace
}  // namespace tavio::host

extern "C" __declspec(dllexport) const tavio::host::VisHeader* __cdecl winampVisGetHeader() {
  return &tavio::host::g_header;
}
