// The message rounds our windows run themselves: one pass over what is
// pending (between frames, between downloads) and a modal dialog's loop.
// Messages to the thread itself are handed back to the loop that owns it.
#pragma once
#include <windows.h>

namespace tavio::ui {

// Handles the pending messages of the calling thread once.
void PumpPendingMessages();
// Handles the thread's messages as they come until handle is signalled (or
// WM_QUIT arrives, which is posted again), asleep in between.
void PumpMessagesUntilSignalled(HANDLE handle);
// Runs the thread's messages until done is set or WM_QUIT arrives (which is
// posted again for the outer loop). dialog gets dialog keyboard handling.
void RunModalLoop(HWND dialog, const bool& done);

}  // namespace tavio::ui
