#include "coversearch/image_search.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <stdexcept>

#include "coversearch/http_error.h"
#include "raster/jpeg_file.h"

namespace tavio {

namespace {

// Nearest neighbour is plenty for a 120-pixel preview.
TBitmap32 StretchTo(const TBitmap32& picture, int32_t size) {
  TBitmap32 out(size, size);
  for (int32_t y = 0; y < size; ++y) {
    const int32_t sy = static_cast<int32_t>(int64_t{y} * picture.Height() / size);
    for (int32_t x = 0; x < size; ++x)
      out.SetPixel(x, y, picture.GetPixel(static_cast<int32_t>(int64_t{x} * picture.Width() / size), sy));
  }
  return out;
}

// FNV-1a: tells a picture fetched again from the one that was shown.
uint64_t HashOf(const std::vector<uint8_t>& data) {
  uint64_t hash = 14695981039346656037ull;
  for (const uint8_t byte : data) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

void Release(std::vector<uint8_t>& data) { std::vector<uint8_t>().swap(data); }

}  // namespace

std::string RatingOf(int32_t width) {
  if (width < 120) return " (too small)";
  if (width < 200) return " (small)";
  if (width < 290) return " (OK)";
  if (width < 350) return " (good)";
  return " (very good)";
}

void TImageSearch::ShowPlaceholders(const TBitmap32& placeholder) {
  for (TImageCell& cell : Cells) {
    cell = TImageCell{};
    cell.Picture.Bitmap = placeholder;
    if (!placeholder.Empty()) cell.Thumbnail = StretchTo(placeholder, kCellSize);
    cell.Width = placeholder.Width();
    cell.Height = placeholder.Height();
  }
}

// The source's error in words, empty when it answered.
std::string TImageSearch::AskSource(const std::string& artist, const std::string& album, TWebGet& web) {
  try {
    Candidates = source_->Candidates(artist, album, web);
    if (Candidates.size() > kMaxCandidates) Candidates.resize(kMaxCandidates);
    return "";
  } catch (const EHttpError& e) {
    if (e.Code >= 0) return "the server answered " + std::to_string(e.Code) + " " + e.StatusText;
    return e.what();
  } catch (const std::exception& e) {
    return e.what();
  }
}

bool TImageSearch::Download(const std::string& link, const TCoverCandidate& candidate, TWebGet& web,
                            const TSearchEvents& events) {
  const auto report = [&](TLinkOutcome outcome, const std::string& error) {
    if (events.LinkTried) events.LinkTried(link, outcome, error);
  };
  std::vector<uint8_t> data;
  try {
    web.Get(link, data, kMaxPictureBytes);
  } catch (const std::exception& e) {
    report(TLinkOutcome::Failed, e.what());
    return false;
  }
  TBitmap32 picture;
  try {
    // The whole picture, not just its header: a cell must be able to show it.
    picture = DecodeJpeg(data.data(), data.size());
  } catch (const std::exception&) {
    report(TLinkOutcome::NotJpeg, "");
    return false;
  }
  const auto free = std::find_if(Cells.begin(), Cells.end(), [](const TImageCell& c) { return !c.Filled; });
  if (free == Cells.end()) return false;
  free->Link = link;
  free->ByteCount = data.size();
  free->Hash = HashOf(data);
  free->Picture = TCoverPicture{std::move(data), {}};
  free->Thumbnail = StretchTo(picture, kCellSize);
  free->Width = picture.Width();
  free->Height = picture.Height();
  free->Names = candidate.Artist.empty() && candidate.Album.empty() ? "" : candidate.Artist + " - " + candidate.Album;
  free->Filled = true;
  report(TLinkOutcome::Kept, "");
  if (events.CellFilled) events.CellFilled(static_cast<int32_t>(free - Cells.begin()));
  KeepCellBytesWithinLimit();
  return true;
}

void TImageSearch::KeepCellBytesWithinLimit() {
  size_t total = 0;
  for (const TImageCell& cell : Cells) total += cell.Picture.Jpeg.size();
  while (total > Limits.MaxCellBytes) {
    TImageCell& largest = *std::max_element(Cells.begin(), Cells.end(), [](const TImageCell& a, const TImageCell& b) {
      return a.Picture.Jpeg.size() < b.Picture.Jpeg.size();
    });
    total -= largest.Picture.Jpeg.size();
    Release(largest.Picture.Jpeg);
  }
}

int64_t TImageSearch::NowMs() const {
  if (Limits.NowMs) return Limits.NowMs();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TSearchResult TImageSearch::Run(const std::string& artist, const std::string& album, TWebGet& web,
                                const TSearchEvents& events) {
  const int64_t start = NowMs();
  const auto cancelled = [&] { return events.Cancelled && events.Cancelled(); };
  TSearchResult result;
  Candidates.clear();
  for (TImageCell& cell : Cells) {
    cell.Filled = false;
    // Pictures of an earlier search can no longer be chosen; their thumbnails stay.
    Release(cell.Picture.Jpeg);
  }
  if (cancelled()) return {TSearchEnd::Cancelled, "", 0};
  result.PageError = AskSource(artist, album, web);
  if (cancelled()) return {TSearchEnd::Cancelled, "", 0};
  if (!result.PageError.empty()) result.End = TSearchEnd::NoPage;
  const auto sought = static_cast<int32_t>(std::min<size_t>(Candidates.size(), kCellCount));
  int32_t tries = 0;
  for (size_t i = 0; i < Candidates.size() && result.Filled < kCellCount; ++i) {
    if (events.Downloading) events.Downloading(result.Filled + 1, sought);
    // A candidate's links are one picture in several sizes: the first that loads counts.
    for (const std::string& link : Candidates[i].PictureUrls) {
      if (cancelled()) return {TSearchEnd::Cancelled, "", result.Filled};
      if (tries == Limits.MaxTries) return {TSearchEnd::OutOfTries, "", result.Filled};
      if (NowMs() - start >= Limits.MaxSearchMs) return {TSearchEnd::OutOfTime, "", result.Filled};
      ++tries;
      const bool kept = Download(link, Candidates[i], web, events);
      if (events.BetweenDownloads) events.BetweenDownloads();
      if (kept) {
        ++result.Filled;
        break;
      }
    }
  }
  return result;
}

TCoverPicture TImageSearch::PictureOf(int32_t cell, TWebGet& web) const {
  if (cell < 0 || cell >= kCellCount || !Cells[cell].Filled) throw std::runtime_error("This cell shows no picture.");
  const TImageCell& c = Cells[cell];
  if (!c.Picture.Jpeg.empty()) return c.Picture;
  std::vector<uint8_t> data;
  try {
    web.Get(c.Link, data, kMaxPictureBytes);
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("The picture could not be loaded again (") + e.what() +
                             "); nothing was stored.");
  }
  if (data.size() != c.ByteCount || HashOf(data) != c.Hash)
    throw std::runtime_error("The picture has changed on its server since it was shown; nothing was stored.");
  return TCoverPicture{std::move(data), {}};
}

std::optional<std::string> TImageSearch::InfoFor(int32_t cell) const {
  if (cell < 0 || cell >= kCellCount || !Cells[cell].Filled) return std::nullopt;
  const TImageCell& c = Cells[cell];
  const std::string info = "(" + std::to_string(c.Width) + " x " + std::to_string(c.Height) + ")" + RatingOf(c.Width);
  return c.Names.empty() ? info : info + "  " + c.Names;
}

TRect TImageSearch::CellRect(int32_t cell) {
  const int32_t left = kMargin + (cell % kColumns) * kCellPitch;
  const int32_t top = kMargin + (cell / kColumns) * kCellPitch;
  return {left, top, left + kCellSize, top + kCellSize};
}

int32_t TImageSearch::CellAt(int32_t x, int32_t y) {
  for (int32_t i = 0; i < kCellCount; ++i) {
    const TRect r = CellRect(i);
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return i;
  }
  return -1;
}

}  // namespace tavio
