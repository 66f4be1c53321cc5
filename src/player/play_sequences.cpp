#include "player/play_sequences.h"

#include "player/winamp_control.h"

namespace tavio {

void PlayOneSong(TPlayerMessenger& messenger, const std::string& path) {
  TWinAmpControl player(messenger);
  if (player.GoFindWinAmp() == 0) return;
  if (player.IsPlaying()) {
    player.AddFile(path);
    return;
  }
  player.ClearPlaylist();
  player.AddFile(path);
  player.Play();
}

void PlayOneSong(const std::string& path) { PlayOneSong(PlatformPlayerMessenger(), path); }

void PlayWholeAlbum(TPlayerMessenger& messenger, const std::vector<std::string>& paths) {
  TWinAmpControl player(messenger);
  if (player.GoFindWinAmp() == 0) return;
  if (player.IsPlaying()) player.Stop();
  player.ClearPlaylist();
  for (const std::string& path : paths) player.AddFile(path);
  player.Play();
}

void PlayWholeAlbum(const std::vector<std::string>& paths) { PlayWholeAlbum(PlatformPlayerMessenger(), paths); }

}  // namespace tavio
