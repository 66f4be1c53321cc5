// CompareAlbums: the order of the shown albums, by the sort keys (FSORT) in
// priority order. Keys compare as text, so years order as text.
#pragma once
#include <cstdint>

#include "library/album.h"

namespace tavio {

// Negative, zero or positive as a comes before, with or after b. Reads the
// current sort keys on every call. Not a strict weak ordering: albums whose
// first keys differ only in letter case compare equal.
int32_t CompareAlbums(const TAlbum& a, const TAlbum& b);

}  // namespace tavio
