// The names of the settings: the store's sections, every key of SETTINGS and
// the defaults used when a key is missing from the store.
#pragma once
#include <cstdint>
#include <string_view>

namespace tavio::settings {

// The registry key of the current user that holds every section.
inline constexpr char kRegistryKeyPath[] = "Software\\BrindlemoorTavio";

inline constexpr std::string_view kSettings = "SETTINGS";
inline constexpr std::string_view kPaths = "PATHS";

inline constexpr std::string_view kSortKeys = "FSORT";
inline constexpr std::string_view kCaptionKeys = "FANZEIGE";
inline constexpr std::string_view kInfoListOrder = "LBINFO";
inline constexpr std::string_view kMirrorAlpha = "ALPHA";
inline constexpr std::string_view kCurrentIndex = "INDEX";
inline constexpr std::string_view kCurveA = "FUNCA";
inline constexpr std::string_view kCurveB = "FUNCB";
inline constexpr std::string_view kCoverSize = "FSIZE";
inline constexpr std::string_view kStepCount = "FANZSTEPS";
inline constexpr std::string_view kReverseScroll = "REVERSE";
inline constexpr std::string_view kControlPanel = "CONTROLPANEL";
inline constexpr std::string_view kScanAll = "SCANALL";
// The picture masks of the scan, ";"-separated (default kDefaultPictureMasks).
inline constexpr std::string_view kPictureMasks = "PICTUREMASKS";
// The scan takes covers embedded in MP3 files; on by default.
inline constexpr std::string_view kEmbeddedArt = "EMBEDDEDART";
// The web image search's host (HOST or HOST:PORT); not written by the plug-in.
inline constexpr std::string_view kImageSearchHost = "IMAGEHOST";
// The service asked for covers: "itunes" (default), "musicbrainz" or "classic".
inline constexpr std::string_view kCoverSource = "COVERSOURCE";
// Base URLs of the cover services; empty or missing means the real ones.
inline constexpr std::string_view kItunesUrl = "ITUNESURL";
inline constexpr std::string_view kMusicBrainzUrl = "MUSICBRAINZURL";
inline constexpr std::string_view kCoverArtUrl = "COVERARTURL";
// The user's e-mail, sent to MusicBrainz in the User-Agent as it asks.
inline constexpr std::string_view kMusicBrainzContact = "MBCONTACT";
// Megabytes all prepared covers may take together; 0 = no limit.
inline constexpr std::string_view kCoverMemory = "COVERMEMORY";
// Whether a new song brings its album to the middle.
inline constexpr std::string_view kFollowPlaying = "FOLLOWPLAYING";
inline constexpr std::string_view kFrameTop = "T";
inline constexpr std::string_view kFrameLeft = "L";
inline constexpr std::string_view kFrameRight = "R";
inline constexpr std::string_view kFrameBottom = "B";

// Defaults when a key is missing from the store.
inline constexpr std::string_view kDefaultSortKeys = "Album,Artist,Genre,Year";
inline constexpr std::string_view kDefaultCaptionKeys = "Album";
inline constexpr std::string_view kDefaultInfoListOrder = "Artist,Album,Genre,Year";
inline constexpr int32_t kDefaultMirrorAlpha = 78;
inline constexpr int32_t kDefaultCurrentIndex = 0;
inline constexpr int32_t kDefaultCurveA = 8830;
inline constexpr int32_t kDefaultCurveB = 37590;
inline constexpr int32_t kDefaultCoverSize = 74;
inline constexpr int32_t kDefaultStepCount = 50;
inline constexpr std::string_view kDefaultImageSearchHost = "images.google.com";
inline constexpr int32_t kDefaultCoverMemory = 384;
inline constexpr int32_t kDefaultFrameTop = 0;
inline constexpr int32_t kDefaultFrameLeft = 0;
inline constexpr int32_t kDefaultFrameRight = 666;
inline constexpr int32_t kDefaultFrameBottom = 555;

// FSIZE is a percentage within this range wherever it is read.
inline constexpr int32_t kMinCoverSize = 50;
inline constexpr int32_t kMaxCoverSize = 100;

// FUNCA and FUNCB hold the curve parameters times this; FSIZE is percent.
inline constexpr double kCurveScale = 1000000.0;
inline constexpr double kCoverSizeScale = 100.0;

}  // namespace tavio::settings
