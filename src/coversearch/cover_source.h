// TCoverSource: a service that answers "candidates for artist + album": the
// albums it knows by those names, each with the links of its cover picture.
// The dialog and the search for missing covers see only this interface; what
// a service speaks (HTML, JSON) stays inside its own source.
#pragma once
#include <string>
#include <vector>

#include "coversearch/web_get.h"

namespace tavio {

struct TCoverCandidate {
  // As the service names them, in UTF-8.
  std::string Artist;
  std::string Album;
  // The same picture, best first; the next is tried when one fails.
  std::vector<std::string> PictureUrls;
};

// A service's answer holds at most this many candidates that count.
inline constexpr size_t kMaxCandidates = 200;

class TCoverSource {
 public:
  virtual ~TCoverSource() = default;
  // artist and album in UTF-8; one of them may be empty (a search by the
  // other alone, or by a text the user typed). Raises on a failed fetch or an
  // answer that cannot be read; no candidates is an empty list.
  virtual std::vector<TCoverCandidate> Candidates(const std::string& artist, const std::string& album,
                                                  TWebGet& web) = 0;
};

// Text for a URL's query: UTF-8 bytes, unreserved characters kept, blanks as
// "+", everything else percent-encoded (RFC 3986).
std::string UrlQueryEncode(const std::string& utf8);
// artist and album as one search text, a blank between them when both are there.
std::string JoinSearchText(const std::string& artist, const std::string& album);

}  // namespace tavio
