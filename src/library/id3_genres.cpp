#include "library/id3_genres.h"

#include <array>

#include "library/text_to_int.h"

namespace tavio {

namespace {

// Where published versions of the list differ, these spellings are kept on
// purpose (40, 67, 85, 100, 118, 123, and the misspelt 92).
constexpr std::array<std::string_view, kGenreCount> kGenres = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop",
    "Jazz", "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap",
    "Reggae", "Rock", "Techno", "Industrial", "Alternative", "Ska", "Death Metal", "Pranks",
    "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance",
    "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise",
    "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial", "Electronic",
    "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40",
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz",
    "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock",
    // Winamp's extensions
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival",
    "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock", "Progessive Rock", "Psychedelic Rock",
    "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour",
    "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
    "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A capella",
    "Euro-House", "Dance Hall",
};
static_assert(kGenres[80] == "Folk" && kGenres[kGenreCount - 1] == "Dance Hall");

}  // namespace

std::optional<std::string> GenreName(int number) {
  if (number < 0 || number >= kGenreCount) return std::nullopt;
  return std::string(kGenres[static_cast<size_t>(number)]);
}

std::string ResolveGenreText(std::string_view text) {
  // Positions count from 1 and 0 stands for "not there", so a text without
  // "(" but with ")" ("17)") resolves too; tags have always been read so.
  const auto position = [text](char c) {
    const size_t index = text.find(c);
    return index == std::string_view::npos ? size_t{0} : index + 1;
  };
  const size_t open = position('(');
  const size_t close = position(')');
  if (open < close) {
    if (const auto number = TextToInt(text.substr(open, close - open - 1))) {
      if (auto name = GenreName(*number)) return *name;
    }
  }
  return std::string(text);
}

}  // namespace tavio
