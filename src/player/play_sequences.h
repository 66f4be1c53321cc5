// The song list's two player actions: queue or start one song, and replace the
// playlist with a whole album. Each runs on a fresh TWinAmpControl.
#pragma once
#include <string>
#include <vector>

#include "player/player_messenger.h"

namespace tavio {

// While the player plays, the song is only queued behind the playing list;
// otherwise the playlist becomes this one song and playback starts.
void PlayOneSong(TPlayerMessenger& messenger, const std::string& path);
void PlayOneSong(const std::string& path);

// Stops the player, replaces the playlist with the songs in list order and
// starts playback.
void PlayWholeAlbum(TPlayerMessenger& messenger, const std::vector<std::string>& paths);
void PlayWholeAlbum(const std::vector<std::string>& paths);

}  // namespace tavio
