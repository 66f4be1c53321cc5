// What the carousel needs from the window that shows it: the screen copy, the
// message round, the timer, the clock and the hand-over to the view's thread.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "raster/bitmap32.h"

namespace tavio {

class TConfigModel;

// Draws straight onto the screen, outside the frame buffer (the control's
// own canvas): the hint text and the control panel of an empty view.
class TScreenCanvas {
 public:
  virtual ~TScreenCanvas() = default;
  // White text on an opaque black background in the default UI font. (Not
  // named TextOut: windows.h makes that a macro, and the class would differ
  // between files that include it and files that do not.)
  virtual void WriteText(int32_t x, int32_t y, const std::string& text) = 0;
  virtual void Draw(int32_t x, int32_t y, const TBitmap32& bitmap) = 0;
};

class TViewPlatform {
 public:
  virtual ~TViewPlatform() = default;
  // Copies the whole frame buffer to the screen at once.
  virtual void Flush() = 0;
  // Lets the view's thread handle its pending window messages once.
  virtual void ProcessPendingMessages() = 0;
  // Handles the view thread's messages once, then keeps handling them as they
  // come until the clock reads dueMs, asleep in between (never a spin). A
  // platform without a screen to keep pace with only handles them once.
  virtual void WaitUntil(int64_t dueMs) {
    (void)dueMs;
    ProcessPendingMessages();
  }
  virtual void SetTimer(bool enabled, uint32_t intervalMs) = 0;
  // Local clock in milliseconds.
  virtual int64_t NowMs() = 0;
  // Safe from any thread: runs the task later on the view's thread.
  virtual void PostToViewThread(std::function<void()> task) = 0;
  // Shows the settings dialog over dialog and returns when it has closed; the
  // dialog loads the settings store when shown and saves it when closed. A
  // platform without windows (the tool, benchmarks) shows nothing.
  virtual void ShowSettingsDialog(TConfigModel&) {}
  // Asks the window that holds the view to lay it out again at once.
  virtual void RequestParentLayout() {}
  // Asks for the screen to be painted again soon (frame buffer, then Paint).
  virtual void Repaint() {}
};

}  // namespace tavio
