#include "view/view_geometry.h"

#include "raster/rounding.h"

namespace tavio {

bool LayoutPlaces(int32_t w, int32_t h, TCarouselPlaces& places) {
  if (h < 10) return false;
  const int32_t s = Round(h * 0.6875);
  places.CoverSide = s;
  places.CenterX = Round((w - s) / 2.0);
  // A small, wide control spreads the side covers further apart.
  const bool smallAndWide = 2 * h < w && h < 100;
  const double c = smallAndWide ? 5.0 / 6.0 : 2.0 / 3.0;
  const double d = smallAndWide ? 1.0 / 4.0 : 1.0 / 2.0;
  places.OuterLeftX = Round(places.CenterX - s * c);
  places.InnerLeftX = places.OuterLeftX + Round(s / 6.0);
  places.InnerRightX = Round(places.CenterX + s - s * d);
  places.OuterRightX = places.InnerRightX + (places.InnerLeftX - places.OuterLeftX);
  return true;
}

int32_t ViewHeightFor(double sizeFactor) { return Round(sizeFactor * 500); }

TViewBounds CentreViewInForm(int32_t clientWidth, int32_t clientHeight, int32_t viewHeight) {
  const int32_t h = viewHeight;
  const int32_t w = 3 * h;
  TViewBounds b;
  if (clientHeight < h) {
    b.Top = 1;
    b.Height = clientHeight - 2;
  } else {
    b.Height = h;
    b.Top = Round((clientHeight - h) / 2.0);
  }
  if (clientWidth < w) {
    b.Left = 2;
    b.Width = clientWidth - 4;
  } else {
    b.Width = w;
    b.Left = Round((clientWidth - w) / 2.0);
  }
  return b;
}

}  // namespace tavio
