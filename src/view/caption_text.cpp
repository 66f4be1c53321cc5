#include "view/caption_text.h"

#include "library/extract_field.h"

namespace tavio {

std::string CaptionText(const TAlbum& album, const std::string& keys) {
  std::string text;
  for (uint16_t n = 1; n != 0; ++n) {
    const std::string item = ExtractField(n, keys, ',');
    if (item.empty()) break;
    if (item == "Year")
      text += std::to_string(album.Year) + " ";
    else if (item == "Artist")
      text += album.Artist + " ";
    else if (item == "Album")
      text += album.Album + " ";
    else if (item == "Genre")
      text += album.Genre + " ";
  }
  return text;
}

}  // namespace tavio
