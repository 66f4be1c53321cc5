// The two library data files in the plug-in folder: "Data.dat" holds the
// shown albums, "Data2.dat" the albums the genre filter hides.
#pragma once
#include <string>

#include "library/ol_saveable.h"

namespace tavio {

inline constexpr const char* kAlbumsFileName = "Data.dat";
inline constexpr const char* kHiddenAlbumsFileName = "Data2.dat";

// Loads each file that exists into its list. A file that does not load is
// deleted, keeping the albums read before the fault. Never throws.
void LoadLibraryFiles(const std::string& pluginFolder, TOLSaveable& albums,
                      TOLSaveable& hiddenAlbums);

// Saves albums, then the hidden albums (or deletes "Data2.dat" when there are
// none). Failures end it silently; an old file stays until replaced whole.
void SaveLibraryFiles(const std::string& pluginFolder, const TOLSaveable& albums,
                      const TOLSaveable& hiddenAlbums);

}  // namespace tavio
