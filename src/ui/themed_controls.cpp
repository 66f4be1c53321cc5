#include "ui/themed_controls.h"

#include <commctrl.h>

#include <string>

#include "module_manifest.h"
#include "ui/window.h"

namespace tavio::ui {
namespace {

// Made once per loaded module and kept: a context is cheap, and releasing it
// while a dialog made under it still lives would be wrong.
HANDLE ModuleContext() {
  static const HANDLE context = [] {
    // The longest path the system allows: the player may live deep down.
    std::wstring path(32768, L'\0');
    GetModuleFileNameW(ModuleInstance(), path.data(), static_cast<DWORD>(path.size()));
    ACTCTXW actctx{};
    actctx.cbSize = sizeof actctx;
    actctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actctx.lpSource = path.c_str();
    actctx.hModule = ModuleInstance();
    actctx.lpResourceName = MAKEINTRESOURCEW(THEMED_CONTROLS_MANIFEST_ID);
    return CreateActCtxW(&actctx);
  }();
  return context;
}

}  // namespace

TThemedControls::TThemedControls() {
  const HANDLE context = ModuleContext();
  if (context != INVALID_HANDLE_VALUE) active_ = ActivateActCtx(context, &cookie_) != FALSE;
  INITCOMMONCONTROLSEX init{sizeof init, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&init);
}

TThemedControls::~TThemedControls() {
  if (active_) DeactivateActCtx(0, cookie_);
}

}  // namespace tavio::ui
