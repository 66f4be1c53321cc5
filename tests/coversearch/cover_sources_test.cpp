// The cover sources without a network: the requests they build (encoding and
// query escaping) and what they read from their services' answers.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "coversearch/cover_source_choice.h"
#include "coversearch/http_error.h"
#include "coversearch/itunes_source.h"
#include "coversearch/musicbrainz_source.h"
#include "coversearch/user_region.h"

using namespace tavio;

namespace {

class TCannedWeb : public TWebGet {
 public:
  void Get(const std::string& url, std::vector<uint8_t>& out, size_t) override {
    requested.push_back(url);
    out.insert(out.end(), answer.begin(), answer.end());
  }
  std::string answer;
  std::vector<std::string> requested;
};

}  // namespace

TEST(CoverSourceRequests, EncodeNamesAsUtf8AndEscapeTheQuerySyntax) {
  EXPECT_EQ(ItunesSearchUrl("http://h", "AC/DC", "\xC3\x9C" "ber & Co", "US"),  // Über
            "http://h/search?term=AC%2FDC+%C3%9Cber+%26+Co&entity=album&media=music&limit=20&country=US");
  EXPECT_EQ(EscapeQueryPhrase("Say \"Hi\" (Live) a\\b"), "Say \\\"Hi\\\" \\(Live\\) a\\\\b");
  // A quote in a title must not close the phrase and inject query terms.
  EXPECT_EQ(MusicBrainzSearchUrl("http://mb", "A", "B\" OR x:\"y"),
            "http://mb/ws/2/release-group/?query=releasegroup%3A%22B%5C%22+OR+x%5C%3A%5C%22y%22+AND+artist%3A%22A%22"
            "&fmt=json&limit=20");
}

TEST(CoverSourceAnswers, ReadItunesArtworkInThreeSizesAndSkipResultsWithout) {
  TCannedWeb web;
  web.answer = R"({"resultCount":3,"results":[
      {"artistName":"Sky","collectionName":"Blue","artworkUrl100":"https://a.example/x/100x100bb.jpg"},
      {"artistName":"No art","collectionName":"None"},
      "junk",
      {"artistName":"Sea","collectionName":"Deep","artworkUrl100":"https://a.example/odd.jpg"}]})";
  TItunesSource source("http://it", "DE");
  const auto candidates = source.Candidates("Sky", "Blue", web);
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0].Artist, "Sky");
  EXPECT_EQ(candidates[0].Album, "Blue");
  EXPECT_EQ(candidates[0].PictureUrls,
            (std::vector<std::string>{"https://a.example/x/1200x1200bb.jpg", "https://a.example/x/600x600bb.jpg",
                                      "https://a.example/x/100x100bb.jpg"}));
  EXPECT_EQ(candidates[1].PictureUrls, std::vector<std::string>{"https://a.example/odd.jpg"});
  EXPECT_EQ(web.requested.front().substr(0, 26), "http://it/search?term=Sky+");
  for (const char* broken : {"", "<html>", "[]", "{\"results\":{}}", "{\"resultCount\":1"})
    EXPECT_THROW(ReadItunesResults(broken), std::runtime_error) << broken;
}

TEST(CoverSourceAnswers, ReadMusicBrainzGroupsWithJoinedCreditsAndSafeIds) {
  const std::string answer = R"({"release-groups":[
      {"id":"0b1c2d3e-aaaa-bbbb-cccc-0123456789ab","title":"Blue",
       "artist-credit":[{"name":"Sky","joinphrase":" & "},{"name":"Sea"}]},
      {"id":"../../admin","title":"path in an id"},
      {"title":"no id"}]})";
  const auto candidates = ReadMusicBrainzResults(answer, "http://caa");
  ASSERT_EQ(candidates.size(), 1u);
  EXPECT_EQ(candidates[0].Artist, "Sky & Sea");
  EXPECT_EQ(candidates[0].Album, "Blue");
  EXPECT_EQ(candidates[0].PictureUrls,
            std::vector<std::string>{"http://caa/release-group/0b1c2d3e-aaaa-bbbb-cccc-0123456789ab/front-500"});
  EXPECT_THROW(ReadMusicBrainzResults("{\"count\":0}", "http://caa"), std::runtime_error);
}

TEST(CoverSourceChoice, BuildsTheChosenServiceAtItsAddressAndTheFirstForAnUnknownName) {
  TCoverSourceSettings settings;
  settings.ItunesUrl = "http://it";
  settings.MusicBrainzUrl = "http://mb";
  settings.ImageHost = "127.0.0.1:9";
  const std::pair<const char*, const char*> cases[] = {
      {"itunes", "http://it/search?term=A+B&"},
      {"musicbrainz", "http://mb/ws/2/release-group/?query="},
      {"classic", "http://127.0.0.1:9/images?q=A+B"},
      {"altavista", "http://it/search?term=A+B&"},
  };
  for (const auto& [name, request] : cases) {
    settings.Source = name;
    TCannedWeb web;
    web.answer = "{}";
    try {
      MakeCoverSource(settings)->Candidates("A", "B", web);
    } catch (const std::runtime_error&) {
      // An empty answer is no service's JSON; the request is what counts here.
    }
    ASSERT_EQ(web.requested.size(), 1u) << name;
    EXPECT_EQ(web.requested[0].substr(0, std::string(request).size()), request) << name;
  }
}

// A region is spliced into the query unescaped, so only two letters may pass.
TEST(CoverSourceChoice, StoreCountryIsTheUsersTwoLetterRegionElseUS) {
  EXPECT_EQ(StoreCountryOf("de"), "DE");
  EXPECT_EQ(StoreCountryOf("JP"), "JP");
  for (const char* bad : {"", "D", "DEU", "001", "D&", "\xC3\x9C", "1A"}) EXPECT_EQ(StoreCountryOf(bad), "US") << bad;
  TCoverSourceSettings settings;
  settings.ItunesUrl = "http://it";
  for (const auto& [country, query] : {std::pair{"fr", "&country=FR"}, std::pair{"x&y=1", "&country=US"}}) {
    settings.Country = country;
    TCannedWeb web;
    web.answer = R"({"results":[]})";
    MakeCoverSource(settings)->Candidates("A", "B", web);
    ASSERT_EQ(web.requested.size(), 1u);
    EXPECT_TRUE(web.requested[0].ends_with(query)) << web.requested[0];
  }
}

TEST(CoverSourceRequests, SearchByOneNameAloneLeavesTheOtherOut) {
  EXPECT_EQ(ItunesSearchUrl("http://h", "", "Blue Sky", "US"),
            "http://h/search?term=Blue+Sky&entity=album&media=music&limit=20&country=US");
  EXPECT_EQ(MusicBrainzSearchUrl("http://mb", "", "Blue"),
            "http://mb/ws/2/release-group/?query=releasegroup%3A%22Blue%22&fmt=json&limit=20");
}
