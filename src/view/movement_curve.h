// The movement of an animated step: the curve that turns a frame number into
// the way travelled, the placing between two rest places, and the frame count
// that keeps a step near its wanted duration. Pure functions.
#pragma once
#include <cstdint>

namespace tavio {

// CurveMode of a step to the previous album (frames count up) and to the next
// (frames count down).
inline constexpr uint8_t kCurvePrevious = 0;
inline constexpr uint8_t kCurveNext = 2;

// The curved frame number (0..stepCount) of frame step of a step drawn in
// stepCount frames: the share x of the step done becomes the share
// x / (a x + b) of the way; a step to the next album reads the curve from its
// other end. The straight curve (a = 0, b = 1) returns step.
int32_t CurvedFrame(int32_t step, int32_t stepCount, uint8_t curveMode, double curveA, double curveB);

// a + (b - a) k / n, with the product in integers and the rest in floating
// point, kept in single precision: an x position or angle k frames of n
// along the way from a to b.
float Interpolate(int32_t a, int32_t b, int32_t k, int32_t n);

// The frame count for the next step after stepCount frames took elapsedMs:
// stepCount * stepDuration / elapsedMs rounded, at least 1. A step measured
// at 0 ms tells nothing and keeps stepCount.
int32_t AdaptedStepCount(int32_t stepCount, int32_t stepDuration, int64_t elapsedMs);

}  // namespace tavio
