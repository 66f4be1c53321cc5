// TMusicBrainzSource: MusicBrainz's release-group search, whose ids name the
// front cover in the Cover Art Archive.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "coversearch/cover_source.h"

namespace tavio {

inline constexpr const char* kDefaultMusicBrainzUrl = "https://musicbrainz.org";
inline constexpr const char* kDefaultCoverArtUrl = "https://coverartarchive.org";

// A phrase for the search's query syntax (Lucene): quotes, backslashes and
// the other operators escaped with a backslash.
std::string EscapeQueryPhrase(const std::string& text);
// base + "/ws/2/release-group/?query=releasegroup:"ALBUM" AND artist:"ARTIST"&fmt=json&limit=20";
// artist and album in UTF-8.
std::string MusicBrainzSearchUrl(const std::string& base, const std::string& artist, const std::string& album);
// The candidates of a search answer, each with artBase + "/release-group/ID/front-500".
// Raises std::runtime_error when the answer is not the service's JSON.
std::vector<TCoverCandidate> ReadMusicBrainzResults(std::string_view json, const std::string& artBase);

class TMusicBrainzSource : public TCoverSource {
 public:
  TMusicBrainzSource(std::string base, std::string artBase) : base_(std::move(base)), artBase_(std::move(artBase)) {}
  std::vector<TCoverCandidate> Candidates(const std::string& artist, const std::string& album,
                                          TWebGet& web) override;

 private:
  std::string base_;
  std::string artBase_;
};

}  // namespace tavio
