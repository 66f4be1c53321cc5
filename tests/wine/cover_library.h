// WriteCoverLibrary: a player folder's library of many albums over a few
// distinct JPEG covers, as the large-library Wine test and the CPU benchmark
// both need it. The settings are left to the caller.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "library/library_files.h"
#include "raster/jpeg_file.h"

namespace tavio::test {

struct TCoverLibrary {
  int32_t Albums = 0;
  int32_t Pictures = 1;
  // Each cover is Side x Side, one colour: Color(k) for cover k.
  int32_t Side = 600;
  std::function<TColor32(int32_t)> Color;
  // Album i is titled "Album " and i in at least TitleDigits digits.
  int TitleDigits = 3;
};

// Writes the covers into folder and the library into folder's Plugins\Tavio\.
inline void WriteCoverLibrary(const std::string& folder, const TCoverLibrary& library) {
  const std::string pluginFolder = folder + "Plugins\\Tavio\\";
  CreateDirectoryA((folder + "Plugins\\").c_str(), nullptr);
  CreateDirectoryA(pluginFolder.c_str(), nullptr);
  for (int32_t k = 0; k < library.Pictures; ++k) {
    TBitmap32 picture(library.Side, library.Side);
    picture.Clear(library.Color(k));
    SaveJpegFile(picture, folder + "cover" + std::to_string(k) + ".jpg");
  }
  TOLSaveable albums, hidden;
  for (int32_t i = 0; i < library.Albums; ++i) {
    auto* album = new TAlbum;
    char title[24];
    std::snprintf(title, sizeof title, "Album %0*d", library.TitleDigits, static_cast<int>(i));
    album->Album = title;
    album->CoverFile = folder + "cover" + std::to_string(i % library.Pictures) + ".jpg";
    albums.Add(album);
  }
  SaveLibraryFiles(pluginFolder, albums, hidden);
}

}  // namespace tavio::test
