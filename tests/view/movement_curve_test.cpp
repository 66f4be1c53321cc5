#include "view/movement_curve.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavio;

namespace {

constexpr double kDefaultA = 0.00883;
constexpr double kDefaultB = 0.03759;

std::vector<int32_t> Curved(uint8_t mode, double a, double b, int32_t from, int32_t to) {
  std::vector<int32_t> out;
  const int32_t dir = from <= to ? 1 : -1;
  for (int32_t step = from; step != to + dir; step += dir) out.push_back(CurvedFrame(step, 50, mode, a, b));
  return out;
}

}  // namespace

TEST(MovementCurve, DefaultCurveRunsAheadAndStopsEarlyInBothDirections) {
  const std::vector<int32_t> previous{18, 27, 33, 37, 40, 42, 43, 45, 46, 47, 47, 48, 49, 49, 50};
  EXPECT_EQ(Curved(kCurvePrevious, kDefaultA, kDefaultB, 1, 15), previous);
  for (int32_t step = 16; step <= 50; ++step) EXPECT_EQ(CurvedFrame(step, 50, kCurvePrevious, kDefaultA, kDefaultB), 50);

  const std::vector<int32_t> next{50, 32, 23, 17, 13, 10, 8, 7, 5, 4, 3, 3, 2, 1, 1, 0};
  EXPECT_EQ(Curved(kCurveNext, kDefaultA, kDefaultB, 50, 35), next);
  for (int32_t step = 34; step >= 0; --step) EXPECT_EQ(CurvedFrame(step, 50, kCurveNext, kDefaultA, kDefaultB), 0);
}

TEST(MovementCurve, StraightCurveLeavesEveryFrameWhereItIs) {
  for (int32_t n : {1, 7, 50, 125})
    for (int32_t step = 0; step <= n; ++step) {
      EXPECT_EQ(CurvedFrame(step, n, kCurvePrevious, 0, 1), step) << n;
      EXPECT_EQ(CurvedFrame(step, n, kCurveNext, 0, 1), step) << n;
    }
}

TEST(MovementCurve, ResultStaysInsideTheStepForAnyCurve) {
  // A curve with a pole inside the step (d = 0 at x = 50) and one that runs
  // backwards must still give frame numbers 0..N.
  for (double a : {-0.02, 0.0, 0.5})
    for (double b : {1.0, -1.0, 0.0})
      for (uint8_t mode : {kCurvePrevious, kCurveNext})
        for (int32_t step = 0; step <= 50; ++step) {
          const int32_t r = CurvedFrame(step, 50, mode, a, b);
          EXPECT_GE(r, 0);
          EXPECT_LE(r, 50);
        }
}

TEST(StepCountAdaptation, KeepsAStepNearOneSecond) {
  EXPECT_EQ(AdaptedStepCount(50, 1000, 2000), 25);
  EXPECT_EQ(AdaptedStepCount(50, 1000, 400), 125);
  EXPECT_EQ(AdaptedStepCount(50, 1000, 500), 100);
  // 3 * 1000 / 7000 rounds to 0, which would stop all animation.
  EXPECT_EQ(AdaptedStepCount(3, 1000, 7000), 1);
  // 0 ms would divide by zero: the count stays.
  EXPECT_EQ(AdaptedStepCount(50, 1000, 0), 50);
  // A clock that went back by 2000 ms counts as 2000 ms.
  EXPECT_EQ(AdaptedStepCount(50, 1000, -2000), 25);
  // Ties go to even: 50 * 1000 / 400000 = 0.125 -> 0 -> 1; 5 * 1000 / 400 = 12.5 -> 12.
  EXPECT_EQ(AdaptedStepCount(5, 1000, 400), 12);
  // A huge count from a 1 ms step does not overflow.
  EXPECT_EQ(AdaptedStepCount(2000000000, 1000, 1), INT32_MAX);
}

TEST(Interpolation, IntegerProductThenSinglePrecisionDivision) {
  EXPECT_FLOAT_EQ(Interpolate(301, 428, 25, 50), 364.5f);
  EXPECT_FLOAT_EQ(Interpolate(40, 90, 25, 50), 65.0f);
  EXPECT_FLOAT_EQ(Interpolate(160, 140, 1, 3), static_cast<float>(160 - 20.0 / 3));
}
