// TKeyboardNavigation: the carousel's keys and type-to-jump. Arrow keys step
// (queued like wheel notches); page keys, Home, End and typed text move there
// at once; Enter and Space open the song list, Escape closes it. While a
// search text is alive it replaces the caption line. The view owns it.
#pragma once
#include <cstdint>
#include <string>

#include "raster/color32.h"
#include "view/type_to_jump.h"

namespace tavio {

class TMarquelle2;

enum class TViewKey { Left, Right, PageUp, PageDown, Home, End, Enter, Space, Escape };

class TKeyboardNavigation {
 public:
  static constexpr int32_t kPageAlbums = 5;
  // The search text when no album starts with it.
  static constexpr TColor32 kNoMatchColor = 0xFF808080u;

  explicit TKeyboardNavigation(TMarquelle2& view) : view_(view) {}
  TKeyboardNavigation(const TKeyboardNavigation&) = delete;
  TKeyboardNavigation& operator=(const TKeyboardNavigation&) = delete;

  void KeyDown(TViewKey key);
  // A typed character (a Unicode code point); control characters are not
  // text and are left alone.
  void CharTyped(char32_t c);
  // The text and colour that replace the caption line while a search text
  // is alive; false when the caption shows.
  bool CaptionOverride(std::string& text, TColor32& color) const;
  // The timer: a search text that has just run out gives the caption back.
  void Tick();

 private:
  TMarquelle2& view_;
  TTypeToJump typed_;
  // The caption line shows the search text (the rest frame must be drawn
  // again when it runs out).
  bool showing_ = false;
};

}  // namespace tavio
