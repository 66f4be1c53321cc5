#include "coversearch/itunes_source.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "coversearch/json_field.h"

namespace tavio {

namespace {

using nlohmann::json;

// The service scales its artwork by the size named in the link.
std::vector<std::string> ArtworkSizes(const std::string& url100) {
  static const std::string kSmall = "100x100bb";
  const size_t at = url100.rfind(kSmall);
  if (at == std::string::npos) return {url100};
  std::vector<std::string> urls;
  for (const char* size : {"1200x1200bb", "600x600bb"}) urls.push_back(std::string(url100).replace(at, kSmall.size(), size));
  urls.push_back(url100);
  return urls;
}

}  // namespace

std::string ItunesSearchUrl(const std::string& base, const std::string& artist, const std::string& album,
                            const std::string& country) {
  return base + "/search?term=" + UrlQueryEncode(JoinSearchText(artist, album)) +
         "&entity=album&media=music&limit=20&country=" + UrlQueryEncode(country);
}

std::vector<TCoverCandidate> ReadItunesResults(std::string_view text) {
  const json doc = json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) throw std::runtime_error("The iTunes answer is not JSON.");
  const auto results = doc.find("results");
  if (results == doc.end() || !results->is_array()) throw std::runtime_error("The iTunes answer has no results.");
  std::vector<TCoverCandidate> candidates;
  for (const json& result : *results) {
    if (candidates.size() == kMaxCandidates) break;
    if (!result.is_object()) continue;
    const std::string artwork = StringField(result, "artworkUrl100");
    if (artwork.empty()) continue;
    candidates.push_back({StringField(result, "artistName"), StringField(result, "collectionName"),
                          ArtworkSizes(artwork)});
  }
  return candidates;
}

std::vector<TCoverCandidate> TItunesSource::Candidates(const std::string& artist, const std::string& album,
                                                       TWebGet& web) {
  std::vector<uint8_t> answer;
  web.Get(ItunesSearchUrl(base_, artist, album, country_), answer, kMaxPageBytes);
  return ReadItunesResults(std::string_view(reinterpret_cast<const char*>(answer.data()), answer.size()));
}

}  // namespace tavio
