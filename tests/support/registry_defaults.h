// What the start-up read gives on an empty settings store, checked the same
// way by the native file store's tests and the registry's tests under Wine.
#pragma once
#include <gtest/gtest.h>

#include "library/shared_keys.h"
#include "settings/view_settings.h"

namespace tavio::test {

inline void ExpectRegistryDefaults(const TViewSettings& settings) {
  EXPECT_EQ(settings.MirrorAlpha, 78);
  EXPECT_DOUBLE_EQ(settings.CurveA, 0.00883);
  EXPECT_DOUBLE_EQ(settings.CurveB, 0.03759);
  EXPECT_DOUBLE_EQ(settings.SizeFactor, 0.74);
  EXPECT_EQ(settings.CurrentIndex, 0);
  EXPECT_EQ(settings.StepCount, 50);
  EXPECT_FALSE(settings.UseControlPanel);
  EXPECT_FALSE(settings.ReverseScroll);
  EXPECT_EQ(settings.CoverMemory, 384);
  EXPECT_EQ(SortKeys(), "Album,Artist,Genre,Year");
  EXPECT_EQ(CaptionKeys(), "Album");
}

}  // namespace tavio::test
