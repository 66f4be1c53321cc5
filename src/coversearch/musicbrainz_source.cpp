#include "coversearch/musicbrainz_source.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "coversearch/json_field.h"

namespace tavio {

namespace {

using nlohmann::json;

// "A feat. B": each credited name followed by its join phrase.
std::string ArtistCredit(const json& group) {
  const auto credits = group.find("artist-credit");
  if (credits == group.end() || !credits->is_array()) return "";
  std::string artist;
  for (const json& credit : *credits)
    if (credit.is_object()) artist += StringField(credit, "name") + StringField(credit, "joinphrase");
  return artist;
}

// An id goes into a URL path: only the characters of a UUID may.
bool IsMbid(const std::string& id) {
  return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '-';
  });
}

}  // namespace

std::string EscapeQueryPhrase(const std::string& text) {
  static const std::string kSpecial = "+-&|!(){}[]^\"~*?:\\/";
  std::string out;
  for (const char c : text) {
    if (kSpecial.find(c) != std::string::npos) out += '\\';
    out += c;
  }
  return out;
}

std::string MusicBrainzSearchUrl(const std::string& base, const std::string& artist, const std::string& album) {
  std::string query;
  if (!album.empty()) query = "releasegroup:\"" + EscapeQueryPhrase(album) + "\"";
  if (!album.empty() && !artist.empty()) query += " AND ";
  if (!artist.empty()) query += "artist:\"" + EscapeQueryPhrase(artist) + "\"";
  return base + "/ws/2/release-group/?query=" + UrlQueryEncode(query) + "&fmt=json&limit=20";
}

std::vector<TCoverCandidate> ReadMusicBrainzResults(std::string_view text, const std::string& artBase) {
  const json doc = json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) throw std::runtime_error("The MusicBrainz answer is not JSON.");
  const auto groups = doc.find("release-groups");
  if (groups == doc.end() || !groups->is_array())
    throw std::runtime_error("The MusicBrainz answer has no release groups.");
  std::vector<TCoverCandidate> candidates;
  for (const json& group : *groups) {
    if (candidates.size() == kMaxCandidates) break;
    if (!group.is_object()) continue;
    const std::string id = StringField(group, "id");
    if (!IsMbid(id)) continue;
    candidates.push_back({ArtistCredit(group), StringField(group, "title"),
                          {artBase + "/release-group/" + id + "/front-500"}});
  }
  return candidates;
}

std::vector<TCoverCandidate> TMusicBrainzSource::Candidates(const std::string& artist, const std::string& album,
                                                            TWebGet& web) {
  std::vector<uint8_t> answer;
  web.Get(MusicBrainzSearchUrl(base_, artist, album), answer, kMaxPageBytes);
  return ReadMusicBrainzResults(std::string_view(reinterpret_cast<const char*>(answer.data()), answer.size()),
                                artBase_);
}

}  // namespace tavio
