// TPageSearchSource: the classic web image search as a cover source: one
// result page of an HTML search for "artist album", whose picture links each
// become a candidate without names. Asking the same text again gives the next
// page; a new text starts at the first.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "coversearch/cover_source.h"
#include "coversearch/search_endpoint.h"

namespace tavio {

// The search text as the endpoint's q value: separators dropped, runs of
// blanks turned into "+", "&" dropped; nothing else is encoded.
std::string BuildSearchQuery(std::string text);
// Line breaks of any kind made CR LF, as the page text is searched.
std::string JoinLinesCrLf(const std::string& text);
// The first maxLinks "http://" links ending in ".jpg" that do not name
// excludedDomain, in page order, duplicates kept.
std::vector<std::string> ExtractImageLinks(const std::string& page, const std::string& excludedDomain,
                                           size_t maxLinks = 200);

class TPageSearchSource : public TCoverSource {
 public:
  static constexpr int32_t kPageSize = 20;

  explicit TPageSearchSource(TSearchEndpoint endpoint) : endpoint_(std::move(endpoint)) {}
  std::vector<TCoverCandidate> Candidates(const std::string& artist, const std::string& album,
                                          TWebGet& web) override;

  // The page that asking for text next would fetch.
  std::string RequestUrl(const std::string& text) const;
  // The next search for text starts at offset.
  void ContinueAt(const std::string& text, int32_t offset) {
    lastText_ = text;
    StartOffset = offset;
  }

  // The result offset of the next page; it advances only after a page came.
  int32_t StartOffset = 0;

 private:
  TSearchEndpoint endpoint_;
  std::string lastText_;
};

}  // namespace tavio
