// TWinAmpControl: finds the player's main window, sends it play commands and
// reads the player's installation folder. One instance per user action.
#pragma once
#include <cstdint>
#include <string>

#include "player/player_messenger.h"

namespace tavio {

class TWinAmpControl {
 public:
  TWinAmpControl();
  explicit TWinAmpControl(TPlayerMessenger& messenger);
  TWinAmpControl(const TWinAmpControl&) = delete;
  TWinAmpControl& operator=(const TWinAmpControl&) = delete;

  TWindowHandle GoFindWinAmp();
  bool IsPlaying();
  void Stop();
  void ClearPlaylist();
  // Appends the file (a UTF-8 path) to the end of the playlist: in the ANSI
  // code page when it holds the path, else with the player's wide command.
  void AddFile(const std::string& path);
  void Play();
  // The path of the playlist entry the player is on, in UTF-8; empty without
  // a player or an entry. The player answers with a pointer into its own memory,
  // which is ours too: the plug-in runs inside the player.
  std::string PlayingFile();
  intptr_t SendCommand(uint32_t message, uintptr_t wParam, intptr_t lParam);

  // The player's folder with a backslash appended (also when it already ends
  // with one); a lone backslash when it is not recorded. Natively the folder
  // comes from the environment variable TAVIO_WINAMP_FOLDER and gets a '/'.
  std::string GetWinampFolder() const;

  TWindowHandle WindowHandle = 0;
  std::string WinAmpClassName = "Winamp v1.x";
  bool Found = false;

 private:
  TPlayerMessenger& messenger_;
};

}  // namespace tavio
