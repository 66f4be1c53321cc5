#include "settings/frame_rect_settings.h"

#include "settings/settings_keys.h"

namespace tavio {

using namespace settings;

void ReadFrameRect(TSettingsStore& store, TRect& rect) noexcept {
  try {
    rect.Top = store.ReadInteger(kSettings, kFrameTop, kDefaultFrameTop);
    rect.Left = store.ReadInteger(kSettings, kFrameLeft, kDefaultFrameLeft);
    rect.Right = store.ReadInteger(kSettings, kFrameRight, kDefaultFrameRight);
    rect.Bottom = store.ReadInteger(kSettings, kFrameBottom, kDefaultFrameBottom);
  } catch (...) {
    // A broken rectangle must not keep the plug-in from opening.
  }
}

void ReadFrameRect(TRect& rect) noexcept {
  try {
    ReadFrameRect(*OpenSettingsStore(), rect);
  } catch (...) {
    // No store: the frame opens where the player puts it.
  }
}

void WriteFrameRect(TSettingsStore& store, const TRect& rect) {
  store.WriteInteger(kSettings, kFrameTop, rect.Top);
  store.WriteInteger(kSettings, kFrameLeft, rect.Left);
  store.WriteInteger(kSettings, kFrameRight, rect.Right);
  store.WriteInteger(kSettings, kFrameBottom, rect.Bottom);
}

void WriteFrameRect(const TRect& rect) { WriteFrameRect(*OpenSettingsStore(), rect); }

}  // namespace tavio
