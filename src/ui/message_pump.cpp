#include "ui/message_pump.h"

#include <vector>

namespace tavio::ui {

namespace {

// Thread messages (no window) belong to the thread's own loop, such as the
// player's; they are posted again once our round is over.
class TThreadMessageKeeper {
 public:
  ~TThreadMessageKeeper() {
    for (const MSG& m : kept_) PostThreadMessageW(GetCurrentThreadId(), m.message, m.wParam, m.lParam);
  }
  // False for a message that is not ours to dispatch.
  bool Dispatch(HWND dialog, MSG& msg) {
    if (msg.hwnd == nullptr) {
      kept_.push_back(msg);
      return false;
    }
    if (dialog && IsDialogMessageW(dialog, &msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
  }

 private:
  std::vector<MSG> kept_;
};

}  // namespace

void PumpPendingMessages() {
  TThreadMessageKeeper keeper;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    keeper.Dispatch(nullptr, msg);
  }
}

void PumpMessagesUntilSignalled(HANDLE handle) {
  // Thread messages are held back until the end: posted again at once, they
  // would wake the wait over and over.
  TThreadMessageKeeper keeper;
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      keeper.Dispatch(nullptr, msg);
    }
    const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return;
  }
}

void RunModalLoop(HWND dialog, const bool& done) {
  TThreadMessageKeeper keeper;
  MSG msg;
  while (!done) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      return;
    }
    keeper.Dispatch(dialog, msg);
  }
}

}  // namespace tavio::ui
