#include "coversearch/missing_covers.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "coversearch/cover_store.h"
#include "coversearch/http_error.h"
#include "text/case_fold.h"
#include "library/file_access.h"
#include "library/library_scan.h"
#include "raster/picture_file.h"

namespace tavio {

namespace {

struct EStopped {};

// Waits are cut into slices so the stop flag is seen soon.
constexpr int64_t kWaitSliceMs = 100;

bool IsBusyAnswer(int32_t code) { return code == 403 || code == 429 || code == 503; }

// Retry-After in seconds; negative when absent or an HTTP date (then the
// caller's own back-off applies).
int64_t RetryAfterMs(const std::string& value) {
  if (value.empty() || value.size() > 9 || !std::all_of(value.begin(), value.end(), [](char c) {
        return c >= '0' && c <= '9';
      }))
    return -1;
  return std::stoll(value) * 1000;
}

std::string InWords(const std::exception& e) {
  const auto* http = dynamic_cast<const EHttpError*>(&e);
  if (http && http->Code >= 0) return "the server answered " + std::to_string(http->Code) + " " + http->StatusText;
  return e.what();
}

bool IsJpeg(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

}  // namespace

TMissingCoversClock SteadyClock() {
  return {[] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
          },
          [](int64_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

bool HasNoPicture(const TAlbum& album) {
  std::lock_guard<std::mutex> lock(album.CoverLock);
  const std::string& file = album.CoverFile;
  const size_t separator = file.find_last_of("\\/");
  return file.compare(separator == std::string::npos ? 0 : separator + 1, std::string::npos, kNoPictureName) == 0;
}

std::string FoldForMatch(const std::string& utf8) {
  std::string folded;
  bool gap = false;
  for (const char c : FoldCase(utf8)) {
    const auto byte = static_cast<unsigned char>(c);
    const bool word = byte >= 0x80 || (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z');
    if (!word) {
      gap = true;
      continue;
    }
    if (gap && !folded.empty()) folded += ' ';
    gap = false;
    folded += c;
  }
  return folded;
}

const TCoverCandidate* MatchingCandidate(const std::vector<TCoverCandidate>& candidates, const std::string& artist,
                                         const std::string& album) {
  const std::string wantedArtist = FoldForMatch(artist);
  const std::string wantedAlbum = FoldForMatch(album);
  for (const TCoverCandidate& candidate : candidates)
    if (FoldForMatch(candidate.Artist) == wantedArtist && FoldForMatch(candidate.Album) == wantedAlbum)
      return &candidate;
  return nullptr;
}

TMissingCoversSummary TMissingCovers::Run(const std::vector<TAlbum*>& albums, const TMissingCoversEvents& events) {
  TMissingCoversSummary summary;
  for (TAlbum* album : albums) {
    if (!HasNoPicture(*album)) continue;
    TMissingCoverOutcome outcome;
    try {
      if (Stopped()) throw EStopped{};
      outcome = FindCover(*album, events);
    } catch (const EStopped&) {
      summary.Stopped = true;
      return summary;
    } catch (const std::exception& e) {
      // The stop cuts the fetch under way short; that is no failure of the album.
      if (Stopped()) {
        summary.Stopped = true;
        return summary;
      }
      outcome = {TMissingCoverResult::Failed, InWords(e)};
    }
    switch (outcome.Result) {
      case TMissingCoverResult::Found: ++summary.Found; break;
      case TMissingCoverResult::NotFound: ++summary.NotFound; break;
      case TMissingCoverResult::Failed: ++summary.Failed; break;
    }
    if (events.AlbumDone) events.AlbumDone(*album, outcome);
  }
  return summary;
}

TMissingCoverOutcome TMissingCovers::FindCover(TAlbum& album, const TMissingCoversEvents& events) {
  std::string folder;
  {
    std::lock_guard<std::mutex> lock(album.CoverLock);
    folder = FolderOf(album.CoverFile);
  }
  // The library may be older than the folder: a picture there stays.
  if (FileExists(folder + kStoredCoverName))
    return {TMissingCoverResult::Failed, std::string(kStoredCoverName) + " is already there"};
  const std::vector<TCoverCandidate> candidates = AskSource(album.Artist, album.Album);
  const TCoverCandidate* match = MatchingCandidate(candidates, album.Artist, album.Album);
  if (!match) return {TMissingCoverResult::NotFound, ""};
  if (options_.DryRun) return {TMissingCoverResult::Found, ""};
  StoreCover(album, FetchPicture(*match));
  if (events.SaveLibrary) events.SaveLibrary();
  return {TMissingCoverResult::Found, ""};
}

std::vector<TCoverCandidate> TMissingCovers::AskSource(const std::string& artist, const std::string& album) {
  int64_t backOffMs = options_.BackOffMs;
  for (int32_t attempt = 0;; ++attempt) {
    WaitUntil(nextRequestMs_);
    nextRequestMs_ = options_.Clock.NowMs() + options_.RequestIntervalMs;
    try {
      return source_.Candidates(artist, album, web_);
    } catch (const EHttpError& e) {
      if (!IsBusyAnswer(e.Code)) throw;
      const int64_t asked = RetryAfterMs(e.RetryAfter);
      const int64_t waitMs = std::min(asked >= 0 ? asked : backOffMs, options_.MaxWaitMs);
      backOffMs *= 2;
      // Later albums wait as well: the service is busy for all of them.
      nextRequestMs_ = std::max(nextRequestMs_, options_.Clock.NowMs() + waitMs);
      if (attempt == options_.MaxRetries) throw;
    }
  }
}

TCoverPicture TMissingCovers::FetchPicture(const TCoverCandidate& candidate) {
  std::string failure = "the answer links no picture";
  for (const std::string& url : candidate.PictureUrls) {
    if (Stopped()) throw EStopped{};
    try {
      std::vector<uint8_t> bytes;
      web_.Get(url, bytes, kMaxPictureBytes);
      TBitmap32 bitmap = DecodePicture(bytes, url);
      if (IsJpeg(bytes)) return {std::move(bytes), {}};
      return {{}, std::move(bitmap)};
    } catch (const std::exception& e) {
      failure = InWords(e);
    }
  }
  throw std::runtime_error(failure);
}

void TMissingCovers::WaitUntil(int64_t ms) const {
  for (int64_t now = options_.Clock.NowMs(); now < ms; now = options_.Clock.NowMs()) {
    if (Stopped()) throw EStopped{};
    options_.Clock.SleepMs(std::min(ms - now, kWaitSliceMs));
  }
  if (Stopped()) throw EStopped{};
}

}  // namespace tavio
