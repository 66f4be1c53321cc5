// The caption line of an album: the fields named by the caption keys
// (FANZEIGE), each followed by one space. Pure function.
#pragma once
#include <string>

#include "library/album.h"

namespace tavio {

// keys is a comma list of "Year", "Artist", "Album" and "Genre" (case as
// written); the list ends at its first empty item, unknown items add nothing.
std::string CaptionText(const TAlbum& album, const std::string& keys);

}  // namespace tavio
