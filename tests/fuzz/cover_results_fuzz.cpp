// libFuzzer target: the answers of the cover sources' search services, read
// as the iTunes or the MusicBrainz source reads them (the first byte picks).
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "coversearch/itunes_source.h"
#include "coversearch/musicbrainz_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    const auto candidates = data[0] % 2 ? ReadItunesResults(text) : ReadMusicBrainzResults(text, "http://art");
    for (const TCoverCandidate& c : candidates)
      if (c.PictureUrls.empty()) __builtin_trap();
  } catch (const std::runtime_error&) {
  }
  return 0;
}
