// TItunesSource: Apple's iTunes Search API (entity album), whose results link
// a 100-pixel artwork that the service also serves larger.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "coversearch/cover_source.h"

namespace tavio {

inline constexpr const char* kDefaultItunesUrl = "https://itunes.apple.com";

// base + "/search?term=ARTIST+ALBUM&entity=album&media=music&limit=20&country=CC";
// artist and album in UTF-8.
std::string ItunesSearchUrl(const std::string& base, const std::string& artist, const std::string& album,
                            const std::string& country);
// The candidates of a search answer; each result's artwork as 1200, 600 and
// 100 pixels. Raises std::runtime_error when the answer is not the API's JSON.
std::vector<TCoverCandidate> ReadItunesResults(std::string_view json);

class TItunesSource : public TCoverSource {
 public:
  // country: the two-letter store region ("US" when the user's is unknown).
  TItunesSource(std::string base, std::string country) : base_(std::move(base)), country_(std::move(country)) {}
  std::vector<TCoverCandidate> Candidates(const std::string& artist, const std::string& album,
                                          TWebGet& web) override;

 private:
  std::string base_;
  std::string country_;
};

}  // namespace tavio
