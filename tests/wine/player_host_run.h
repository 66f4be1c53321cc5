// Runs playerhost.exe with the plug-in, an action script and a log in a fresh
// temporary folder, under a timeout, for the tests that drive the plug-in.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tavio::test {

struct PlayerHostRun {
  std::string folder;  // the run's own temporary folder (also the player's folder)
  std::vector<std::string> log;
  bool timedOut = false;
  unsigned exitCode = 0;

  // Lines of the log that report a dialog the watcher had to close.
  std::vector<std::string> Dialogs() const;
  bool Contains(const std::string& line) const;
  int CountOf(const std::string& line) const;
};

// The folder holding wine_tests.exe, playerhost.exe and vis_Tavio.dll.
std::string ProductFolder();
std::string NewTempFolder(const std::string& tag);

// A started playerhost; Finish waits (60 s at most, then kills it) and reads the log.
class PlayerHostProcess {
 public:
  // Runs the script (lines without newlines); extraArgs are appended to the
  // command line; folder (empty: a new one) becomes the player's folder.
  PlayerHostProcess(const std::vector<std::string>& script, const std::string& extraArgs = "",
                    const std::string& folder = "");
  ~PlayerHostProcess();
  // Waits until the player window "Winamp v1.x" exists.
  bool WaitForPlayerWindow();
  // Closes the player window, as a user would.
  void Close();
  PlayerHostRun Finish();

 private:
  PlayerHostRun run_;
  void* process_ = nullptr;
};

// The settings a scripted run starts from: album 0 in the middle, stepCount
// frames a step, the default size, no panel, no reversal, no following of
// the playing album, and a straight curve, so covers move until a step ends
// and "settle" cannot mistake the still end of an eased step for rest.
void WriteScriptedRunSettings(int32_t stepCount);

PlayerHostRun RunPlayerHost(const std::vector<std::string>& script, const std::string& extraArgs = "",
                            const std::string& folder = "");

}  // namespace tavio::test
