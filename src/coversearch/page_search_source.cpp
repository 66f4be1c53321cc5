#include "coversearch/page_search_source.h"

#include <algorithm>
#include <string_view>

#include "text/code_page.h"

namespace tavio {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

std::string BuildSearchQuery(std::string text) {
  for (const char* gone : {"+", ",", ";", "-"}) ReplaceAll(text, gone, "");
  for (const char* blanks : {"    ", "   ", "  ", " "}) ReplaceAll(text, blanks, "+");
  ReplaceAll(text, "&", "");
  return text;
}

std::string JoinLinesCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  if (!text.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

std::vector<std::string> ExtractImageLinks(const std::string& page, const std::string& excludedDomain,
                                           size_t maxLinks) {
  constexpr size_t kWindow = 999;
  std::vector<std::string> links;
  for (size_t p = page.find("http://"); p != std::string::npos && links.size() < maxLinks;
       p = page.find("http://", p + 1)) {
    const std::string_view window = std::string_view(page).substr(p, kWindow);
    const size_t length = std::min(window.find('&'), window.find(' '));
    // Without either mark the link stops one short of the window's end.
    const std::string_view link = window.substr(0, std::min(length, kWindow - 1));
    const bool isJpg = link.size() >= 4 && link.substr(link.size() - 4) == ".jpg";
    if (isJpg && (excludedDomain.empty() || link.find(excludedDomain) == std::string_view::npos))
      links.emplace_back(link);
  }
  return links;
}

// The page search has always been sent the code page's bytes; only a text
// the code page cannot hold goes as UTF-8.
std::string TPageSearchSource::RequestUrl(const std::string& text) const {
  std::string url = "http://" + endpoint_.Host + "/images?q=" + BuildSearchQuery(ExactAnsi(text).value_or(text));
  const int32_t offset = text == lastText_ ? StartOffset : 0;
  if (offset > 0) url += "&start=" + std::to_string(offset);
  return url;
}

std::vector<TCoverCandidate> TPageSearchSource::Candidates(const std::string& artist, const std::string& album,
                                                           TWebGet& web) {
  const std::string text = JoinSearchText(artist, album);
  if (text != lastText_) StartOffset = 0;
  lastText_ = text;
  std::vector<uint8_t> page;
  // A failed page raises before the offset moves, so the next try asks for it again.
  web.Get(RequestUrl(text), page, kMaxPageBytes);
  StartOffset += kPageSize;
  std::vector<TCoverCandidate> candidates;
  for (std::string& link : ExtractImageLinks(JoinLinesCrLf(std::string(page.begin(), page.end())),
                                             endpoint_.ExcludedDomain, kMaxCandidates))
    candidates.push_back({"", "", {std::move(link)}});
  return candidates;
}

}  // namespace tavio
