#include "library/folder_songs.h"

#include <algorithm>

#include "library/directory_listing.h"
#include "library/song_track.h"

namespace tavio {

namespace {

#ifdef _WIN32
constexpr const char* kFolderEnds = "\\:";
#else
constexpr const char* kFolderEnds = "/";
#endif

}  // namespace

std::string FolderPartOf(const std::string& path) {
  const size_t end = path.find_last_of(kFolderEnds);
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

void ReadSongTags(std::vector<TSong>& songs) {
  TID3v2Tag v2;
  TID3v1Tag v1;
  for (TSong& song : songs) ReadSongTrackAndTitle(song, v2, v1);
}

std::vector<TSong> ReadFolderSongs(const std::string& folder) {
  std::vector<TSong> songs;
  // An empty folder would make the listing search the current folder.
  if (folder.empty()) return songs;
  ListDirectory(folder, "*.mp3", [&](const TSearchRec& entry) {
    if ((entry.Attr & ffDirectory) == 0) songs.push_back(TSong{folder, entry.Name, "", 0});
  });
  ReadSongTags(songs);
  // The rows read the descending order from its end. Sorting ascending at
  // once is the same, and keeps songs of equal track in the order found.
  std::stable_sort(songs.begin(), songs.end(), [](const TSong& a, const TSong& b) { return CompareSongs(a, b) > 0; });
  return songs;
}

}  // namespace tavio
