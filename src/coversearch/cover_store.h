// StoreCover: how a new cover becomes an album's picture, whether the user
// chose it or the search for missing covers found it: folder.jpg in the
// album's folder, complete before it replaces anything, then named in the
// album's record.
#pragma once
#include <string>

#include "coversearch/cover_picture.h"
#include "library/album.h"

namespace tavio {

inline constexpr int kCoverJpegQuality = 90;

// The folder part of a cover file's path, with its separator; empty when none.
std::string FolderOf(const std::string& path);

// Writes picture (its JPEG bytes as they are, else its bitmap encoded) as
// folder.jpg beside album's cover file and, once the file is complete, points
// CoverFile at it; returns that path. Raises when the album has no folder or
// the file cannot be written, CoverFile then unchanged.
std::string StoreCover(TAlbum& album, const TCoverPicture& picture);

}  // namespace tavio
