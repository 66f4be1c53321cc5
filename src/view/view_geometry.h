// The carousel's geometry: the five cover places computed from the control's
// size, and where the host form puts the control. Pure functions.
#pragma once
#include <cstdint>

namespace tavio {

struct TCarouselPlaces {
  int32_t CoverSide = 0;
  int32_t OuterLeftX = 0;
  int32_t InnerLeftX = 10;
  int32_t CenterX = 80;
  int32_t InnerRightX = 150;
  int32_t OuterRightX = 160;
};

// The places for a control of width w and height h; false (places unchanged)
// when the control is too low to show anything.
bool LayoutPlaces(int32_t w, int32_t h, TCarouselPlaces& places);

// The height the host form gives the view: Round(sizeFactor * 500).
int32_t ViewHeightFor(double sizeFactor);

struct TViewBounds {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const TViewBounds&, const TViewBounds&) = default;
};

// Centres a view of the wanted height (and three times that width) in the host
// form's client area, shrinking it with a small margin when the area is smaller.
TViewBounds CentreViewInForm(int32_t clientWidth, int32_t clientHeight, int32_t viewHeight);

}  // namespace tavio
