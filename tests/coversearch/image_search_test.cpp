// The image search without its window: query and URL building, the pages it
// asks for, which links it tries, how cells fill, and the hover ratings.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "coversearch/http_error.h"
#include "coversearch/image_search.h"
#include "coversearch/page_search_source.h"
#include "raster/jpeg_file.h"

using namespace tavio;

namespace {

std::vector<uint8_t> JpegOfWidth(int32_t width, int32_t height = 30) {
  TBitmap32 picture(width, height);
  picture.Clear(Color32(200, 40, 40));
  return EncodeJpeg(picture);
}

// Serves fixed bodies by URL; any other URL fails as a 404 would.
class TFakeWeb : public TWebGet {
 public:
  void Get(const std::string& url, std::vector<uint8_t>& out, size_t) override {
    requested.push_back(url);
    const auto it = bodies.find(url);
    if (it == bodies.end()) throw EHttpError(404, "Not Found", {}, "HTTP/1.1 404 Not Found");
    out.insert(out.end(), it->second.begin(), it->second.end());
  }
  void Page(const std::string& url, const std::string& text) { bodies[url] = std::vector<uint8_t>(text.begin(), text.end()); }

  std::map<std::string, std::vector<uint8_t>> bodies;
  std::vector<std::string> requested;
};

// Answers every search with the same candidates.
class TFixedSource : public TCoverSource {
 public:
  explicit TFixedSource(std::vector<TCoverCandidate> candidates) : candidates_(std::move(candidates)) {}
  std::vector<TCoverCandidate> Candidates(const std::string&, const std::string&, TWebGet&) override {
    return candidates_;
  }

 private:
  std::vector<TCoverCandidate> candidates_;
};

std::unique_ptr<TCoverSource> PageSearch(const std::string& host) {
  return std::make_unique<TPageSearchSource>(SearchEndpointFor(host));
}

}  // namespace

TEST(ImageSearchQuery, DropsSeparatorsAndTurnsBlankRunsIntoPlus) {
  const std::pair<const char*, const char*> cases[] = {
      {"Blue  Sky - Night Road", "Blue+Sky+Night+Road"},
      {"Salt & Pepper", "Salt++Pepper"},
      {"a     b", "a++b"},
      {"AC/DC, Back;in+Black", "AC/DC+BackinBlack"},
      {"Übel & Gefährlich", "Übel++Gefährlich"},
  };
  for (const auto& [text, query] : cases) EXPECT_EQ(BuildSearchQuery(text), query) << text;
}

TEST(ImageSearchQuery, AsksForTheNextPageOnlyAfterASuccessAndRestartsOnNewText) {
  TFakeWeb web;
  TPageSearchSource source(SearchEndpointFor("img.example.com:8080"));
  const std::string base = "http://img.example.com:8080/images?q=";
  web.Page(base + "A+B", "no links");
  web.Page(base + "A+B&start=20", "no links");
  web.Page(base + "C", "no links");
  source.Candidates("A", "B", web);
  source.Candidates("A B", "", web);  // the same text, typed
  EXPECT_EQ(source.RequestUrl("A B"), base + "A+B&start=40");
  EXPECT_THROW(source.Candidates("A", "B", web), EHttpError);
  EXPECT_EQ(source.StartOffset, 40) << "a failed page is asked for again";
  source.Candidates("", "C", web);
  EXPECT_EQ(web.requested, (std::vector<std::string>{base + "A+B", base + "A+B&start=20", base + "A+B&start=40",
                                                     base + "C"}));
  // A text the code page holds goes in its bytes as it always did; another as UTF-8.
  EXPECT_EQ(source.RequestUrl("Caf\xC3\xA9"), base + "Caf\xE9");
  EXPECT_EQ(source.RequestUrl("\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE"), base + "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE");
}

TEST(ImageSearchLinks, KeepsLowerCaseJpgLinksOutsideTheServiceInPageOrder) {
  const std::string page =
      "imgurl=http://a.org/1.jpg&x "            // ends at the &
      "http://b.org/2.jpg http://b.org/2.jpg "  // duplicates stay
      "http://c.org/3.JPG&http://c.org/4.jpeg&http://c.org/5.png& "
      "http://t0.example.com/thumb.jpg& "       // the service's own
      "https://d.org/6.jpg& "
      "<img src=\"http://e.org/7.jpg\">\r\n";   // the quote is part of the link
  EXPECT_EQ(ExtractImageLinks(page, ".example."),
            (std::vector<std::string>{"http://a.org/1.jpg", "http://b.org/2.jpg", "http://b.org/2.jpg"}));
  EXPECT_EQ(ExtractImageLinks("http://x/" + std::string(2000, 'a') + ".jpg ", "").size(), 0u)
      << "a link is at most 998 characters";
  EXPECT_EQ(SearchEndpointFor("www.google.com").ExcludedDomain, ".google.");
  EXPECT_EQ(SearchEndpointFor("127.0.0.1:8080").ExcludedDomain, "");
  // A link at a line's end takes the line break with it and so is not kept.
  EXPECT_TRUE(ExtractImageLinks(JoinLinesCrLf("http://a.org/1.jpg\nnext"), "").empty());
}

TEST(ImageSearchCells, FillsTwentyCellsSkippingBrokenPicturesAndRatesByWidth) {
  TFakeWeb web;
  TImageSearch search(PageSearch("s.example.com"));
  TBitmap32 placeholder(120, 120);
  placeholder.Clear(Color32(1, 2, 3));
  search.ShowPlaceholders(placeholder);
  std::string page;
  for (int i = 0; i < 30; ++i) {
    const std::string link = "http://p.org/" + std::to_string(i) + ".jpg";
    page += link + "& ";
    if (i == 0)
      web.bodies[link] = {'n', 'o', 't'};  // not a JPEG: skipped, not counted
    else if (i != 1)                       // 1 fails with a 404
      web.bodies[link] = JpegOfWidth(100 + i * 10, 40);
  }
  web.Page("http://s.example.com/images?q=x", page);
  std::vector<std::string> outcomes;
  int32_t rounds = 0;
  TSearchEvents events;
  events.LinkTried = [&](const std::string& link, TLinkOutcome outcome, const std::string&) {
    outcomes.push_back(link.substr(13) + (outcome == TLinkOutcome::Kept ? " kept" : " skipped"));
  };
  events.BetweenDownloads = [&] { ++rounds; };
  search.Run("x", "", web, events);
  EXPECT_EQ(outcomes.size(), 22u) << "20 pictures, then no more downloads";
  EXPECT_EQ(outcomes.front(), "0.jpg skipped");
  EXPECT_EQ(web.requested.back(), "http://p.org/21.jpg");
  EXPECT_EQ(rounds, 22);
  for (const TImageCell& cell : search.Cells) EXPECT_TRUE(cell.Filled);
  EXPECT_EQ(search.Cells[0].Width, 120);
  EXPECT_EQ(search.Cells[0].Picture.Jpeg, web.bodies["http://p.org/2.jpg"]);
  EXPECT_EQ(search.Cells[0].Thumbnail.Width(), 120);

  // Another search clears the marks; cells it does not reach keep their picture unmarked.
  web.Page("http://s.example.com/images?q=x&start=20", "http://p.org/29.jpg&");
  search.Run("x", "", web);
  EXPECT_EQ(search.Cells[0].Width, 390);
  EXPECT_FALSE(search.Cells[1].Filled);
  EXPECT_EQ(search.InfoFor(1), std::nullopt);
  EXPECT_EQ(search.InfoFor(0), "(390 x 40) (very good)");

  const std::pair<int32_t, const char*> ratings[] = {{118, " (too small)"}, {119, " (too small)"}, {120, " (small)"},
                                                     {199, " (small)"},     {200, " (OK)"},         {289, " (OK)"},
                                                     {290, " (good)"},      {349, " (good)"},       {350, " (very good)"}};
  for (const auto& [width, text] : ratings) EXPECT_EQ(RatingOf(width), text) << width;
}

TEST(ImageSearchCells, NamedCandidateFallsBackToItsSmallerPictureAndShowsItsNames) {
  TFakeWeb web;
  web.bodies["http://a/600.jpg"] = JpegOfWidth(600, 600);
  web.bodies["http://b/100.jpg"] = JpegOfWidth(100, 100);
  TImageSearch search(std::make_unique<TFixedSource>(std::vector<TCoverCandidate>{
      {"Sky", "Blue", {"http://a/1200.jpg", "http://a/600.jpg", "http://a/100.jpg"}},
      {"Sea", "Deep", {"http://b/100.jpg"}},
  }));
  const TSearchResult result = search.Run("Sky", "Blue", web);
  EXPECT_EQ(result.Filled, 2);
  EXPECT_EQ(web.requested, (std::vector<std::string>{"http://a/1200.jpg", "http://a/600.jpg", "http://b/100.jpg"}))
      << "the first size that loads ends the candidate's tries";
  EXPECT_EQ(search.InfoFor(0), "(600 x 600) (very good)  Sky - Blue");
  EXPECT_EQ(search.InfoFor(1), "(100 x 100) (too small)  Sea - Deep");
}

TEST(ImageSearchCells, MapsPointsToTheGridAndBack) {
  for (int32_t i = 0; i < TImageSearch::kCellCount; ++i) {
    const TRect r = TImageSearch::CellRect(i);
    EXPECT_EQ(TImageSearch::CellAt(r.Left, r.Top), i);
    EXPECT_EQ(TImageSearch::CellAt(r.Right - 1, r.Bottom - 1), i);
  }
  EXPECT_EQ(TImageSearch::CellRect(19).Right, 8 + 4 * 128 + 120);
  EXPECT_EQ(TImageSearch::CellAt(128 + 3, 50), -1) << "the gap between cells";
  EXPECT_EQ(TImageSearch::CellAt(50, 520), -1);
}

TEST(ImageSearchBounds, KeepsTheFirst200LinksOfAFloodedPage) {
  std::string page;
  for (int i = 0; i < 20000; ++i) page += "http://a.org/" + std::to_string(i) + ".jpg ";
  const auto links = ExtractImageLinks(page, "");
  ASSERT_EQ(links.size(), 200u);
  EXPECT_EQ(links.back(), "http://a.org/199.jpg");
}

TEST(ImageSearchBounds, StopsAfter60TriesOr120SecondsOrACancel) {
  std::string page;
  for (int i = 0; i < 1000; ++i) page += "http://dead.org/" + std::to_string(i) + ".jpg ";
  struct Case {
    const char* name;
    int64_t msPerFetch;
    int cancelAfter;  // fetches; 0: never
    size_t fetches;   // the page and the links tried
    TSearchEnd end;
  } cases[] = {
      {"tries", 1000, 0, 1 + 60, TSearchEnd::OutOfTries},
      {"time", 20000, 0, 1 + 6, TSearchEnd::OutOfTime},
      {"cancel", 1000, 5, 5, TSearchEnd::Cancelled},
  };
  for (const Case& c : cases) {
    TFakeWeb web;
    web.Page("http://s.example.com/images?q=x", page);
    int64_t now = 0;
    TImageSearch search(PageSearch("s.example.com"));
    search.Limits.NowMs = [&] { return now; };
    TSearchEvents events;
    events.BetweenDownloads = [&] { now += c.msPerFetch; };
    events.Cancelled = [&] { return c.cancelAfter > 0 && web.requested.size() >= size_t(c.cancelAfter); };
    const TSearchResult result = search.Run("x", "", web, events);
    EXPECT_EQ(web.requested.size(), c.fetches) << c.name;
    EXPECT_EQ(result.End, c.end) << c.name;
  }
}

TEST(ImageSearchBounds, CellsGiveUpTheirDataLargestFirstAndAreCheckedWhenFetchedAgain) {
  TFakeWeb web;
  std::string page;
  for (int i = 0; i < 4; ++i) {
    const std::string link = "http://p.org/" + std::to_string(i) + ".jpg";
    page += link + " ";
    web.bodies[link] = JpegOfWidth(100 + 100 * i, 100 + 100 * i);  // larger and larger
  }
  web.Page("http://s.example.com/images?q=x", page);
  size_t keepAll = 0;
  for (int i = 0; i < 4; ++i) keepAll += web.bodies["http://p.org/" + std::to_string(i) + ".jpg"].size();
  TImageSearch search(PageSearch("s.example.com"));
  search.Limits.MaxCellBytes = keepAll - 1;
  search.Run("x", "", web);
  size_t held = 0;
  for (const TImageCell& cell : search.Cells) held += cell.Picture.Jpeg.size();
  EXPECT_LE(held, search.Limits.MaxCellBytes);
  EXPECT_TRUE(search.Cells[3].Picture.Jpeg.empty()) << "the largest goes first";
  EXPECT_FALSE(search.Cells[0].Picture.Jpeg.empty());
  EXPECT_EQ(search.Cells[3].Thumbnail.Width(), TImageSearch::kCellSize);
  EXPECT_EQ(search.InfoFor(3), "(400 x 400) (very good)");

  const std::string link3 = "http://p.org/3.jpg";
  EXPECT_EQ(search.PictureOf(3, web).Jpeg, web.bodies[link3]) << "fetched again, unchanged";
  web.bodies[link3] = JpegOfWidth(401, 400);
  EXPECT_THROW(search.PictureOf(3, web), std::runtime_error) << "changed on the server";
  web.bodies.erase(link3);
  EXPECT_THROW(search.PictureOf(3, web), std::runtime_error) << "gone from the server";
  EXPECT_THROW(search.PictureOf(7, web), std::runtime_error) << "a placeholder is no picture";
}
