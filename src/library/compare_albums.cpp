#include "library/compare_albums.h"

#include <string>

#include "library/extract_field.h"
#include "text/text_compare.h"
#include "library/shared_keys.h"

namespace tavio {

// The album's text for one key name; names are matched exactly and any
// other name stands for nothing.
static std::string SortKey(const TAlbum& album, const std::string& name) {
  if (name == "Year") return std::to_string(album.Year);
  if (name == "Artist") return album.Artist;
  if (name == "Album") return album.Album;
  if (name == "Genre") return album.Genre;
  return {};
}

int32_t CompareAlbums(const TAlbum& a, const TAlbum& b) {
  const std::string& keys = SortKeys();
  std::string textA;
  std::string textB;
  for (uint16_t k = 1;; ++k) {
    const std::string name = ExtractField(k, keys, ',');
    if (name.empty() || textA != textB) return CompareTextIgnoringCase(textA, textB);
    textA += SortKey(a, name);
    textB += SortKey(b, name);
  }
}

}  // namespace tavio
