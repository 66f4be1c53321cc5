#include "player/player_messenger.h"

namespace tavio {
namespace {

// There is no player window outside Windows.
class TNoPlayerMessenger final : public TPlayerMessenger {
 public:
  TWindowHandle FindWindowOfClass(const std::string&) override { return 0; }
  intptr_t Send(TWindowHandle, uint32_t, uintptr_t, intptr_t) override { return 0; }
};

}  // namespace

TPlayerMessenger& PlatformPlayerMessenger() {
  static TNoPlayerMessenger messenger;
  return messenger;
}

}  // namespace tavio
