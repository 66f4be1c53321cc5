// The vis thread: loads the plug-in, calls Init, then Render every delayMs
// while dispatching its own messages, and finally Quit and FreeLibrary.
#include <windows.h>

#include <string>

#include "player_state.h"
#include "text/wide_text_win32.h"

namespace playerhost {
namespace {

using GetHeaderFn = tavio::host::VisHeader*(__cdecl*)();

DWORD WINAPI VisThread(void*) {
  Player& p = ThePlayer();
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make this thread's queue now
  p.visThreadId = GetCurrentThreadId();
  HMODULE dll = LoadLibraryW(tavio::Widen(p.options.plugin).c_str());
  const auto getHeader = dll ? reinterpret_cast<GetHeaderFn>(reinterpret_cast<void*>(GetProcAddress(dll, "winampVisGetHeader"))) : nullptr;
  tavio::host::VisModule* module = getHeader ? getHeader()->getModule(0) : nullptr;
  if (!module) {
    p.log.Write("error cannot load plug-in " + p.options.plugin);
    PostMessageW(p.mainWindow, WM_CLOSE, 0, 0);
    return 1;
  }
  module->hwndParent = p.mainWindow;
  module->hDllInstance = dll;
  module->sRate = 44100;
  module->nCh = 2;
  p.module = module;
  module->Init(module);
  p.visRunning = true;
  bool running = true;
  while (running) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        running = false;
        break;
      }
      if (msg.hwnd == nullptr && msg.message == kVisInitMessage) {
        module->Init(module);
        continue;
      }
      if (msg.hwnd == nullptr && msg.message == kVisQuitMessage) {
        module->Quit(module);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!running) break;
    if (module->Render(module) != 0) p.log.Write("render returned non-zero");
    Sleep(module->delayMs > 0 ? module->delayMs : 25);
  }
  p.visRunning = false;
  module->Quit(module);
  p.module = nullptr;
  // A settings dialog Config opened on the main thread still runs the plug-in's code.
  for (int i = 0; i < 200 && p.configRunning; ++i) Sleep(50);
  FreeLibrary(dll);
  PostMessageW(p.mainWindow, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

HANDLE StartVisThread() { return CreateThread(nullptr, 0, VisThread, nullptr, 0, nullptr); }

}  // namespace playerhost
