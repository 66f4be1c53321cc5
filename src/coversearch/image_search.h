// TImageSearch: the image search dialog without its window: the candidates a
// cover source gives, the downloads into 20 cells with their filled marks,
// and the size, rating and names shown on hover.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coversearch/cover_picture.h"
#include "coversearch/cover_source.h"
#include "coversearch/web_get.h"
#include "raster/bitmap32.h"

namespace tavio {

// " (too small)" .. " (very good)" by the picture's width.
std::string RatingOf(int32_t width);

struct TImageCell {
  // The picture as it would be stored: the JPEG data, or the placeholder.
  // A filled cell may have given up its data to keep a search small; its
  // link, size and hash fetch and check it again when it is chosen.
  TCoverPicture Picture;
  std::string Link;
  size_t ByteCount = 0;
  uint64_t Hash = 0;
  // The picture stretched to the cell, for drawing.
  TBitmap32 Thumbnail;
  int32_t Width = 0;
  int32_t Height = 0;
  // "Artist - Album" as the source names them (UTF-8); empty when it does not.
  std::string Names;
  // Shows a picture of the current search.
  bool Filled = false;
};

enum class TLinkOutcome { Kept, NotJpeg, Failed };

// What a search reports while it runs; every member may be left empty.
struct TSearchEvents {
  std::function<void(const std::string& link, TLinkOutcome outcome, const std::string& error)> LinkTried;
  std::function<void(int32_t cell)> CellFilled;
  // Before each download: the picture sought (from 1) of how many there can be.
  std::function<void(int32_t number, int32_t of)> Downloading;
  // After each download, so the window can repaint and take clicks.
  std::function<void()> BetweenDownloads;
  // Asked before each fetch: true ends the search.
  std::function<bool()> Cancelled;
};

// What one search may take, so a hostile page or a silent server cannot
// hold the dialog or the player's memory.
struct TSearchLimits {
  int32_t MaxTries = 60;
  int64_t MaxSearchMs = 120000;
  // The downloaded data of all cells together; the largest give theirs up first.
  size_t MaxCellBytes = size_t{64} * 1024 * 1024;
  // Milliseconds of a steady clock; the real one when empty.
  std::function<int64_t()> NowMs;
};

enum class TSearchEnd { Done, NoPage, OutOfTries, OutOfTime, Cancelled };

struct TSearchResult {
  TSearchEnd End = TSearchEnd::Done;
  // Why the source gave no answer, in words.
  std::string PageError;
  int32_t Filled = 0;
};

class TImageSearch {
 public:
  static constexpr int32_t kCellCount = 20;
  static constexpr int32_t kColumns = 5;
  static constexpr int32_t kCellSize = 120;
  static constexpr int32_t kCellPitch = 128;
  static constexpr int32_t kMargin = 8;

  explicit TImageSearch(std::unique_ptr<TCoverSource> source) : source_(std::move(source)) {}
  // Later searches ask source; the cells stay as they are.
  void UseSource(std::unique_ptr<TCoverSource> source) { source_ = std::move(source); }

  // Every cell shows placeholder, no mark set.
  void ShowPlaceholders(const TBitmap32& placeholder);
  // One search: the source's candidates for artist and album (either may be
  // empty), then up to 20 pictures into the cells. Failures are swallowed;
  // events and the result tell what happened.
  TSearchResult Run(const std::string& artist, const std::string& album, TWebGet& web,
                    const TSearchEvents& events = {});
  // The chosen cell's picture: its data, or the data fetched again when the
  // cell gave it up. Raises std::runtime_error, in words, when the cell holds
  // no picture of this search, or the data cannot be had again unchanged.
  TCoverPicture PictureOf(int32_t cell, TWebGet& web) const;
  // "(400 x 300) (very good)" for a filled cell, then its names when it has
  // them; nothing for another.
  std::optional<std::string> InfoFor(int32_t cell) const;

  // Cell i's rectangle in the form's client area, and the cell at a point (-1: none).
  static TRect CellRect(int32_t cell);
  static int32_t CellAt(int32_t x, int32_t y);

  std::vector<TCoverCandidate> Candidates;
  std::array<TImageCell, kCellCount> Cells;
  TSearchLimits Limits;

 private:
  std::string AskSource(const std::string& artist, const std::string& album, TWebGet& web);
  bool Download(const std::string& link, const TCoverCandidate& candidate, TWebGet& web,
                const TSearchEvents& events);
  void KeepCellBytesWithinLimit();
  int64_t NowMs() const;

  std::unique_ptr<TCoverSource> source_;
};

}  // namespace tavio
