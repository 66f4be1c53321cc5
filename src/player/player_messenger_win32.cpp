#include <windows.h>

#include <cstddef>

#include "player/player_messenger.h"
#include "text/wide_text_win32.h"

namespace tavio {
namespace {

static_assert(sizeof(TCopyDataRecord) == sizeof(COPYDATASTRUCT));
static_assert(offsetof(TCopyDataRecord, Tag) == offsetof(COPYDATASTRUCT, dwData));
static_assert(offsetof(TCopyDataRecord, ByteCount) == offsetof(COPYDATASTRUCT, cbData));
static_assert(offsetof(TCopyDataRecord, Bytes) == offsetof(COPYDATASTRUCT, lpData));
static_assert(sizeof(TWindowHandle) == sizeof(HWND));

class TWindowMessenger final : public TPlayerMessenger {
 public:
  TWindowHandle FindWindowOfClass(const std::string& className) override {
    return reinterpret_cast<TWindowHandle>(FindWindowW(Widen(className).c_str(), nullptr));
  }

  intptr_t Send(TWindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    return SendMessageW(reinterpret_cast<HWND>(window), message, wParam, lParam);
  }
};

}  // namespace

TPlayerMessenger& PlatformPlayerMessenger() {
  static TWindowMessenger messenger;
  return messenger;
}

}  // namespace tavio
