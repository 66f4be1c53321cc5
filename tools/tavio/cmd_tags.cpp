// tavio tags FILE...: the tag values the library takes from each file, one
// header line with the file name and one line of tab-separated values. A file
// that is missing or cannot be read is named on stderr, and the exit is 1.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "command.h"
#include "library/album.h"
#include "library/song_track.h"

namespace tavio::tool {

// Texts are written in UTF-8, NUL bytes between several values included.
static void PrintLine(std::initializer_list<std::string> fields) {
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) std::fputc('\t', stdout);
    std::fwrite(field.data(), 1, field.size(), stdout);
    first = false;
  }
  std::fputc('\n', stdout);
}

// Why file gives no tags at all, or "" when it can be read. The tag readers
// take an unreadable file for one without tags.
static std::string Unreadable(const std::string& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return "no such file";
  if (!std::filesystem::is_regular_file(file, error)) return "not a regular file";
  if (!std::ifstream(file, std::ios::binary)) return "cannot be read";
  return "";
}

static int RunTags(const Args& args) {
  if (args.empty()) throw UsageError{"no file given"};
  TID3v2Tag v2;
  TID3v1Tag v1;
  int status = 0;
  for (const std::string& file : args) {
    if (const std::string why = Unreadable(file); !why.empty()) {
      std::fprintf(stderr, "tavio tags: %s: %s\n", file.c_str(), why.c_str());
      status = 1;
      continue;
    }
    TFileTags tags(file, v2, v1);
    TAlbum album;
    album.ReadTags(tags);
    TSong song;
    song.FileName = file;
    ReadSongTrackAndTitle(song, tags);
    PrintLine({file});
    PrintLine({album.Title, album.Artist, album.Album, std::to_string(album.Year), album.Genre,
               std::to_string(song.Track)});
  }
  return status;
}

TAVIO_COMMAND("tags", "tags FILE...", RunTags);

}  // namespace tavio::tool
