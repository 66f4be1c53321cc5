#include "coversearch/image_search.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <stdexcept>
#include <string_view>

#include "coversearch/http_error.h"
#include "raster/jpeg_file.h"
#include "text/code_page.h"

namespace tavio {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

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

std::string BuildSearchQuery(std::string text) {
  for (const char* gone : {"+", ",", ";", "-"}) ReplaceAll(text, gone, "");
  for (const char* blanks : {"    ", "   ", "  ", " "}) ReplaceAll(text, blanks, "+");
  ReplaceAll(text, "&", "");
  return text;
}

std::string JoinLinesCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  if (!text.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

std::vector<std::string> ExtractImageLinks(const std::string& page, const std::string& excludedDomain,
                                           size_t maxLinks) {
  constexpr size_t kWindow = 999;
  std::vector<std::string> links;
  for (size_t p = page.find("http://"); p != std::string::npos && links.size() < maxLinks;
       p = page.find("http://", p + 1)) {
    const std::string_view window = std::string_view(page).substr(p, kWindow);
    const size_t length = std::min(window.find('&'), window.find(' '));
    // Without either mark the link stops one short of the window's end.
    const std::string_view link = window.substr(0, std::min(length, kWindow - 1));
    const bool isJpg = link.size() >= 4 && link.substr(link.size() - 4) == ".jpg";
    if (isJpg && (excludedDomain.empty() || link.find(excludedDomain) == std::string_view::npos))
      links.emplace_back(link);
  }
  return links;
}

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

// The page search has always been sent the code page's bytes; only a text
// the code page cannot hold goes as UTF-8.
std::string TImageSearch::RequestUrl(const std::string& text) const {
  std::string url = "http://" + endpoint_.Host + "/images?q=" + BuildSearchQuery(ExactAnsi(text).value_or(text));
  if (StartOffset > 0) url += "&start=" + std::to_string(StartOffset);
  return url;
}

// The page's error in words, empty when the page came.
std::string TImageSearch::FetchLinks(const std::string& text, TWebGet& web) {
  try {
    std::vector<uint8_t> page;
    web.Get(RequestUrl(text), page, kMaxPageBytes);
    ImageLinks = ExtractImageLinks(JoinLinesCrLf(std::string(page.begin(), page.end())), endpoint_.ExcludedDomain);
    StartOffset += kPageSize;
    return "";
  } catch (const EHttpError& e) {
    // No page, no links; the next try asks for the same page again.
    if (e.Code >= 0) return "the server answered " + std::to_string(e.Code) + " " + e.StatusText;
    return e.what();
  } catch (const std::exception& e) {
    return e.what();
  }
}

bool TImageSearch::Download(const std::string& link, TWebGet& web, const TSearchEvents& events) {
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

TSearchResult TImageSearch::Run(const std::string& text, TWebGet& web, const TSearchEvents& events) {
  const int64_t start = NowMs();
  const auto cancelled = [&] { return events.Cancelled && events.Cancelled(); };
  TSearchResult result;
  ImageLinks.clear();
  for (TImageCell& cell : Cells) {
    cell.Filled = false;
    // Pictures of an earlier search can no longer be chosen; their thumbnails stay.
    Release(cell.Picture.Jpeg);
  }
  if (cancelled()) return {TSearchEnd::Cancelled, "", 0};
  result.PageError = FetchLinks(text, web);
  if (cancelled()) return {TSearchEnd::Cancelled, "", 0};
  if (!result.PageError.empty()) result.End = TSearchEnd::NoPage;
  int32_t tries = 0;
  for (size_t i = 0; i < ImageLinks.size() && result.Filled < kCellCount; ++i) {
    if (cancelled()) return {TSearchEnd::Cancelled, "", result.Filled};
    if (tries == Limits.MaxTries) return {TSearchEnd::OutOfTries, "", result.Filled};
    if (NowMs() - start >= Limits.MaxSearchMs) return {TSearchEnd::OutOfTime, "", result.Filled};
    ++tries;
    if (events.Downloading)
      events.Downloading(result.Filled + 1, static_cast<int32_t>(std::min<size_t>(ImageLinks.size(), kCellCount)));
    if (Download(ImageLinks[i], web, events)) ++result.Filled;
    if (events.BetweenDownloads) events.BetweenDownloads();
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
  return "(" + std::to_string(c.Width) + " x " + std::to_string(c.Height) + ")" + RatingOf(c.Width);
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
