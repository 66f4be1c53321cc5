// What the stand-in player's threads share: options, the message log, the
// playlist, and the windows of the running plug-in.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "host/vis_module.h"

namespace playerhost {

struct Options {
  std::string plugin;
  std::string winampDir;
  std::string logFile;
  std::string actionsFile;
  bool playing = false;
  std::string playingFile;  // the playlist entry the player is on
  bool closeDialogs = false;
  bool noEmbedding = false;  // answer the embedding request with no function
};

class MessageLog {
 public:
  void Open(const std::string& path);
  void Write(const std::string& line);

 private:
  std::mutex mutex_;
  FILE* file_ = nullptr;
};

struct Player {
  Options options;
  MessageLog log;
  HWND mainWindow = nullptr;
  HWND playlistBox = nullptr;
  std::atomic<HWND> frameWindow{nullptr};
  std::atomic<DWORD> visThreadId{0};
  std::atomic<bool> visRunning{false};
  std::atomic<bool> closing{false};
  // Dialog verbs of the script not yet run: while any is left, the watcher
  // leaves dialogs open for the script.
  std::atomic<int> dialogVerbsLeft{0};
  // The module's Config runs on the main thread; the plug-in stays loaded meanwhile.
  std::atomic<bool> configRunning{false};
  tavio::host::VisModule* module = nullptr;
};

// The file the player is on ("play FILE"), asked by the plug-in with
// WM_USER 125 and 211 (in the code page) or 214 (UTF-16); the text returned
// stays valid for the whole run.
void SetPlayingFile(const std::string& path);
const char* PlayingFileText();
const wchar_t* PlayingFileWideText();

Player& ThePlayer();

// Custom messages of the player window.
constexpr UINT kRunConfigMessage = WM_APP + 5;
// Thread messages to the vis thread: call the module's Init or Quit again.
constexpr UINT kVisInitMessage = WM_APP + 10;
constexpr UINT kVisQuitMessage = WM_APP + 11;

HWND CreatePlayerWindow(HINSTANCE instance);
tavio::host::EmbedWindowFn EmbeddingFunction();
// Runs the plug-in on its own thread, as the player's vis thread does.
HANDLE StartVisThread();
HANDLE StartActionScript();
// Logs every dialog as it opens; with --close-dialogs also closes them.
void StartDialogWatch();
// How long a dialog verb waits for its dialog.
constexpr int kDialogWaitMs = 10000;
// The script's dialog verbs: false when no open dialog offered the button
// or tab within kDialogWaitMs, or no dialog is open to close.
bool PressDialogButton(const std::string& caption);
bool SelectDialogTab(const std::string& caption);
bool CloseTopDialog();
// The topmost open dialog, or null.
HWND TopDialog();
// The carousel window inside the frame, or null.
HWND FindViewWindow();
// Whether the frame's window procedure is the player's own (no plug-in's).
bool HasPlayerFrameProc(HWND frame);

}  // namespace playerhost
