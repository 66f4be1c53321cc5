// Cover preparation: an album's picture decoded (or the default picture with
// the album's title) and its edges bevelled, ready for the carousel.
#pragma once
#include <string>

#include "library/album.h"
#include "raster/bitmap32.h"

namespace tavio {

// Decodes an album's cover into out: the picture embedded in the tag when
// coverFile names an MP3 file, else the picture file (regular files only).
// Raises an error naming coverFile when there is none or it is undecodable.
void LoadCoverPicture(TBitmap32& out, const std::string& coverFile);

// Prepares into out without touching any album, so a loader can prepare into a
// fresh bitmap and hand it over under a lock. When coverFile exists and
// decodes (LoadCoverPicture) it is the picture; otherwise (missing or broken)
// the default picture "MOSSEL" gets albumTitle at (6, 6) in bold 12-point
// Arial, black on white. Then the edges are bevelled. Raises ERasterError only
// when the default picture cannot be had, leaving out as it was.
void PrepareCoverInto(TBitmap33& out, const std::string& coverFile, const std::string& albumTitle);

// PrepareCoverInto for the album's own CoverFile, Album and Cover.
void PrepareCover(TAlbum& album);

}  // namespace tavio
