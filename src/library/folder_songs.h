// The songs of one album folder as the song list shows them: every "*.mp3"
// file of the folder (sub-folders left out) with its track number and title,
// in ascending track order.
#pragma once
#include <string>
#include <vector>

#include "library/song.h"

namespace tavio {

// The folder part of a file path, with its trailing separator; empty when
// the path names no folder.
std::string FolderPartOf(const std::string& path);

// Fills Track and Title of every song; one pair of tag readers serves all.
void ReadSongTags(std::vector<TSong>& songs);

// The songs of folder (ending with the separator) in row order: ascending
// track. A folder that is missing or cannot be listed gives no songs.
std::vector<TSong> ReadFolderSongs(const std::string& folder);

}  // namespace tavio
