#include "coversearch/cover_source.h"

namespace tavio {

std::string UrlQueryEncode(const std::string& utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.' || byte == '~';
    if (unreserved) {
      out += c;
    } else if (byte == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::string JoinSearchText(const std::string& artist, const std::string& album) {
  if (artist.empty() || album.empty()) return artist + album;
  return artist + " " + album;
}

}  // namespace tavio
