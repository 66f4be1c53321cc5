// The record classes a library data file may name, and how to create an
// empty record of one. The only class is TAlbum.
#pragma once
#include <memory>
#include <string_view>

#include "library/album.h"

namespace tavio {

inline constexpr std::string_view kAlbumClassName = "TAlbum";

// Throws EDataFileError for any name but "TAlbum".
std::unique_ptr<TAlbum> CreateRecord(std::string_view className);

}  // namespace tavio
