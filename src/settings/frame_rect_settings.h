// The host frame's saved rectangle: section SETTINGS, keys T, L, R, B.
#pragma once
#include "raster/bitmap32.h"
#include "settings/settings_store.h"

namespace tavio {

// Reads T, L, R, B (defaults 0, 0, 666, 555) in this order into rect. Any
// error is swallowed: the fields read before it keep their values, the others
// stay as they were (the caller passes them zeroed).
void ReadFrameRect(TSettingsStore& store, TRect& rect) noexcept;
void ReadFrameRect(TRect& rect) noexcept;

// Writes T, L, R, B in this order; errors are thrown.
void WriteFrameRect(TSettingsStore& store, const TRect& rect);
void WriteFrameRect(const TRect& rect);

}  // namespace tavio
