#include "view/view_geometry.h"

#include <gtest/gtest.h>

using namespace tavio;

struct LayoutCase {
  int32_t w, h;
  TCarouselPlaces want;
};

TEST(Layout, PlacesRoundHalfToEvenAndSpreadSmallWideControls) {
  const LayoutCase cases[] = {
      {1110, 370, {254, 259, 301, 428, 555, 597}},
      {270, 90, {62, 52, 62, 104, 150, 160}},  // small and wide; 150.5 rounds to 150
      {300, 100, {69, 70, 82, 116, 150, 162}},  // H = 100 is not small
  };
  for (const auto& c : cases) {
    TCarouselPlaces p;
    ASSERT_TRUE(LayoutPlaces(c.w, c.h, p)) << c.w << "x" << c.h;
    EXPECT_EQ(p.CoverSide, c.want.CoverSide) << c.w << "x" << c.h;
    EXPECT_EQ(p.CenterX, c.want.CenterX) << c.w << "x" << c.h;
    EXPECT_EQ(p.OuterLeftX, c.want.OuterLeftX) << c.w << "x" << c.h;
    EXPECT_EQ(p.InnerLeftX, c.want.InnerLeftX) << c.w << "x" << c.h;
    EXPECT_EQ(p.InnerRightX, c.want.InnerRightX) << c.w << "x" << c.h;
    EXPECT_EQ(p.OuterRightX, c.want.OuterRightX) << c.w << "x" << c.h;
  }
}

TEST(Layout, TooLowControlKeepsThePlaces) {
  TCarouselPlaces p;
  EXPECT_FALSE(LayoutPlaces(300, 9, p));
  EXPECT_EQ(p.CoverSide, 0);
  EXPECT_EQ(p.CenterX, 80);
}

TEST(HostForm, ViewHeightAndCentring) {
  EXPECT_EQ(ViewHeightFor(0.74), 370);
  // The design-size form is too narrow for 1110 pixels.
  EXPECT_EQ(CentreViewInForm(658, 515, 370), (TViewBounds{2, 72, 654, 370}));
  EXPECT_EQ(CentreViewInForm(658, 300, 370), (TViewBounds{2, 1, 654, 298}));
  // (1200 - 1110) / 2 = 45; (371 - 370) / 2 = 0.5 rounds to 0.
  EXPECT_EQ(CentreViewInForm(1200, 371, 370), (TViewBounds{45, 0, 1110, 370}));
}
