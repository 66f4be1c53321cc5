#include "coversearch/cover_source_choice.h"

#include "coversearch/itunes_source.h"
#include "coversearch/missing_covers.h"
#include "coversearch/musicbrainz_source.h"
#include "coversearch/page_search_source.h"
#include "coversearch/user_region.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavio {

namespace {

// A base URL without its trailing "/", or the real service's.
std::string OrDefault(std::string value, const std::string& fallback) {
  while (!value.empty() && value.back() == '/') value.pop_back();
  return value.empty() ? fallback : value;
}

}  // namespace

TCoverSourceSettings ReadCoverSourceSettings() {
  const auto store = OpenSettingsStore();
  const auto read = [&](std::string_view name) { return store->ReadString(settings::kSettings, name, ""); };
  TCoverSourceSettings s;
  s.Source = kCoverSources[CoverSourceIndex(read(settings::kCoverSource))].Key;
  s.ItunesUrl = read(settings::kItunesUrl);
  s.MusicBrainzUrl = read(settings::kMusicBrainzUrl);
  s.CoverArtUrl = read(settings::kCoverArtUrl);
  s.ImageHost = read(settings::kImageSearchHost);
  s.Contact = read(settings::kMusicBrainzContact);
  s.Country = UserRegion();
  return s;
}

void WriteCoverSourceChoice(const std::string& key) {
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kCoverSource, key);
}

size_t CoverSourceIndex(const std::string& key) {
  for (size_t i = 0; i < kCoverSources.size(); ++i)
    if (key == kCoverSources[i].Key) return i;
  return 0;
}

std::unique_ptr<TCoverSource> MakeCoverSource(const TCoverSourceSettings& s) {
  switch (CoverSourceIndex(s.Source)) {
    case 1:
      return std::make_unique<TMusicBrainzSource>(OrDefault(s.MusicBrainzUrl, kDefaultMusicBrainzUrl),
                                                  OrDefault(s.CoverArtUrl, kDefaultCoverArtUrl));
    case 2:
      return std::make_unique<TPageSearchSource>(
          SearchEndpointFor(OrDefault(s.ImageHost, std::string(settings::kDefaultImageSearchHost))));
    default:
      return std::make_unique<TItunesSource>(OrDefault(s.ItunesUrl, kDefaultItunesUrl),
                                             StoreCountryOf(s.Country));
  }
}

int32_t RequestIntervalOf(const TCoverSourceSettings& s) {
  return CoverSourceIndex(s.Source) == 1 ? kMusicBrainzRequestIntervalMs : kItunesRequestIntervalMs;
}

}  // namespace tavio
