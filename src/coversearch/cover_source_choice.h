// The cover source the user chose (COVERSOURCE) and where each service lives
// (ITUNESURL, MUSICBRAINZURL, COVERARTURL, IMAGEHOST, MBCONTACT): MakeCoverSource is the
// one place that turns the choice into a TCoverSource, so the dialog and the
// search for missing covers never name a concrete service.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "coversearch/cover_source.h"

namespace tavio {

struct TCoverSourceName {
  // As stored in COVERSOURCE.
  const char* Key;
  // As the dialog offers it.
  const char* Caption;
};

inline constexpr std::array<TCoverSourceName, 3> kCoverSources{{
    {"itunes", "iTunes"},
    {"musicbrainz", "MusicBrainz + Cover Art Archive"},
    {"classic", "Web image search"},
}};

struct TCoverSourceSettings {
  // One of kCoverSources' keys; anything else counts as the first.
  std::string Source = kCoverSources[0].Key;
  // Base URLs; empty means the real service.
  std::string ItunesUrl;
  std::string MusicBrainzUrl;
  std::string CoverArtUrl;
  // The classic search's HOST[:PORT]; empty means the default.
  std::string ImageHost;
  // The user's e-mail or web page for MusicBrainz; may be empty.
  std::string Contact;
  // The user's region for the iTunes store; anything but two letters means "US".
  std::string Country;
};

// The settings store's choice and addresses, and the system's region.
TCoverSourceSettings ReadCoverSourceSettings();
// Remembers key as COVERSOURCE.
void WriteCoverSourceChoice(const std::string& key);
// The index in kCoverSources of a stored key (0 for an unknown one).
size_t CoverSourceIndex(const std::string& key);

std::unique_ptr<TCoverSource> MakeCoverSource(const TCoverSourceSettings& settings);
// How long the chosen service wants between two searches.
int32_t RequestIntervalOf(const TCoverSourceSettings& settings);

}  // namespace tavio
