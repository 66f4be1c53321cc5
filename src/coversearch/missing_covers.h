// TMissingCovers: covers for the albums that show the default one. Each is
// asked of a cover source by artist and album; the first answer naming the
// same artist and album gives the picture, stored as a chosen cover is.
// Services are asked no faster than they allow and, when they say they are
// busy, again only after the wait they name.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "coversearch/cover_picture.h"
#include "coversearch/cover_source.h"
#include "coversearch/web_get.h"
#include "library/album.h"

namespace tavio {

// What each service allows: iTunes about 20 searches a minute, MusicBrainz one a second.
inline constexpr int32_t kItunesRequestIntervalMs = 3000;
inline constexpr int32_t kMusicBrainzRequestIntervalMs = 1000;

enum class TMissingCoverResult { Found, NotFound, Failed };

struct TMissingCoverOutcome {
  TMissingCoverResult Result = TMissingCoverResult::NotFound;
  // Failed: why, in words.
  std::string Reason;
};

struct TMissingCoversSummary {
  int32_t Found = 0;
  int32_t NotFound = 0;
  int32_t Failed = 0;
  // The stop flag ended the run before the last album.
  bool Stopped = false;
};

// Time as the run sees it; tests pass a clock that does not wait.
struct TMissingCoversClock {
  std::function<int64_t()> NowMs;
  std::function<void(int64_t ms)> SleepMs;
};
TMissingCoversClock SteadyClock();

struct TMissingCoversOptions {
  // Between the starts of two searches of the source.
  int32_t RequestIntervalMs = kItunesRequestIntervalMs;
  // Searches again after a busy answer (403, 429, 503) at most this often.
  int32_t MaxRetries = 3;
  // Without a Retry-After, the first wait after a busy answer; it doubles.
  int64_t BackOffMs = 10000;
  // A longer Retry-After is cut to this, so a hostile one cannot stall the run.
  int64_t MaxWaitMs = 600000;
  // Finds and reports, but fetches no picture and writes nothing.
  bool DryRun = false;
  // Set by another thread to end the run; waits end at once.
  const std::atomic<bool>* Stop = nullptr;
  TMissingCoversClock Clock = SteadyClock();
};

struct TMissingCoversEvents {
  // After each album without a picture.
  std::function<void(const TAlbum& album, const TMissingCoverOutcome& outcome)> AlbumDone;
  // After each cover stored: the data files are saved.
  std::function<void()> SaveLibrary;
};

// The album shows the default cover: no picture file of its own.
bool HasNoPicture(const TAlbum& album);
// UTF-8 text as compared: ASCII letters in lower case, every run of
// punctuation and blanks one blank, none at the ends.
std::string FoldForMatch(const std::string& utf8);
// The first candidate naming artist and album (UTF-8) after folding;
// null when none does.
const TCoverCandidate* MatchingCandidate(const std::vector<TCoverCandidate>& candidates, const std::string& artist,
                                         const std::string& album);

class TMissingCovers {
 public:
  TMissingCovers(TCoverSource& source, TWebGet& web, TMissingCoversOptions options)
      : source_(source), web_(web), options_(std::move(options)) {}

  // Every album of albums without a picture, in order. An album's failure is
  // its outcome; the run goes on.
  TMissingCoversSummary Run(const std::vector<TAlbum*>& albums, const TMissingCoversEvents& events);

 private:
  TMissingCoverOutcome FindCover(TAlbum& album, const TMissingCoversEvents& events);
  std::vector<TCoverCandidate> AskSource(const std::string& artist, const std::string& album);
  TCoverPicture FetchPicture(const TCoverCandidate& candidate);
  // Raises EStopped when the stop flag is set meanwhile.
  void WaitUntil(int64_t ms) const;
  bool Stopped() const { return options_.Stop && *options_.Stop; }

  TCoverSource& source_;
  TWebGet& web_;
  TMissingCoversOptions options_;
  // The source is not asked before this time.
  int64_t nextRequestMs_ = 0;
};

}  // namespace tavio
