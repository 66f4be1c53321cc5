// tavio songs FOLDER: the rows the song list shows for an album folder, one
// line each: number, title and file, tab-separated, texts in UTF-8.
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "command.h"
#include "library/folder_path.h"
#include "library/folder_songs.h"

namespace tavio::tool {

static int RunSongs(const Args& args) {
  if (args.size() != 1) throw UsageError{"give one album folder"};
  std::string folder = args[0];
  if (!std::filesystem::is_directory(folder)) throw std::runtime_error("no such folder: " + folder);
  // The song list takes a folder it cannot list for one without songs; here
  // the difference matters.
  std::error_code error;
  std::filesystem::directory_iterator listing(folder, error);
  if (error) throw std::runtime_error("cannot list " + folder + ": " + error.message());
  if (folder.back() != kPathDelimiter) folder += kPathDelimiter;
  int32_t number = 0;
  for (const TSong& song : ReadFolderSongs(folder)) {
    const std::string line = std::to_string(++number) + "\t" + song.Title + "\t" + song.Folder + song.FileName + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return 0;
}

TAVIO_COMMAND("songs", "songs FOLDER", RunSongs);

}  // namespace tavio::tool
