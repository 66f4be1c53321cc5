#include "library/library_files.h"

#include <exception>

#include "library/file_access.h"

namespace tavio {

static void LoadOrDelete(const std::string& path, TOLSaveable& list) {
  if (!FileExists(path)) return;
  try {
    list.LoadFromFile(path);
  } catch (const std::exception&) {
    DeleteFileAt(path);
  }
}

void LoadLibraryFiles(const std::string& pluginFolder, TOLSaveable& albums,
                      TOLSaveable& hiddenAlbums) {
  LoadOrDelete(pluginFolder + kHiddenAlbumsFileName, hiddenAlbums);
  LoadOrDelete(pluginFolder + kAlbumsFileName, albums);
}

void SaveLibraryFiles(const std::string& pluginFolder, const TOLSaveable& albums,
                      const TOLSaveable& hiddenAlbums) {
  try {
    albums.SaveToFile(pluginFolder + kAlbumsFileName);
    const std::string hiddenPath = pluginFolder + kHiddenAlbumsFileName;
    if (hiddenAlbums.Count() > 0)
      hiddenAlbums.SaveToFile(hiddenPath);
    else if (FileExists(hiddenPath))
      DeleteFileAt(hiddenPath);
  } catch (const std::exception&) {
    // Data-file failures are silent; the previous files are still whole.
  }
}

}  // namespace tavio
