#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "coversearch/http_client.h"
#include "coversearch/itunes_source.h"
#include "coversearch/missing_covers.h"
#include "coversearch/missing_covers_tally.h"
#include "library/ol_saveable.h"
#include "support/command_output.h"
#include "raster/jpeg_file.h"
#include "support/local_http_server.h"
#include "support/temp_folder.h"

using tavio::TAlbum;
using tavio::TMissingCoverResult;
using tavio::TMissingCoversTally;
using tavio::test::Reply;
using tavio::test::TargetOf;
using tavio::test::TLocalHttpServer;
using tavio::test::TServerConnection;
using tavio::test::TTempFolder;

namespace {

std::string SomeJpeg(uint8_t shade) {
  tavio::TBitmap32 bitmap(8, 8);
  bitmap.Clear(tavio::Color32(shade, 40, 200));
  const std::vector<uint8_t> bytes = tavio::EncodeJpeg(bitmap);
  return std::string(bytes.begin(), bytes.end());
}

std::string Result(const std::string& artist, const std::string& album, const std::string& art) {
  return R"({"artistName":")" + artist + R"(","collectionName":")" + album + R"(","artworkUrl100":")" + art + R"("})";
}

// iTunes as the tests need it: "Anna Lind" searches find a near namesake
// first and then the album itself, spelled in other case and punctuation.
class TCannedItunes {
 public:
  TCannedItunes()
      : server_([this](const std::string& request, TServerConnection& connection) { return Answer(request, connection); }) {}

  std::string Base() const { return server_.Url(""); }
  std::vector<std::string> Targets() const {
    std::vector<std::string> targets;
    for (const auto& request : server_.Requests()) targets.push_back(TargetOf(request.Bytes));
    return targets;
  }
  // Answers for the searches to come, before the canned results.
  std::vector<std::string> BusyAnswers;
  std::atomic<int64_t>* Clock = nullptr;
  std::vector<int64_t> SearchTimes;
  const std::string GoodJpeg = SomeJpeg(10);

 private:
  bool Answer(const std::string& request, TServerConnection& connection) {
    const std::string target = TargetOf(request);
    if (target.rfind("/search?", 0) == 0) {
      if (Clock) SearchTimes.push_back(*Clock);
      if (!BusyAnswers.empty()) {
        const std::string busy = BusyAnswers.front();
        BusyAnswers.erase(BusyAnswers.begin());
        return connection.Send(busy);
      }
      std::string results;
      if (target.find("Anna+Lind") != std::string::npos)
        results = Result("Anna Lindqvist", "Northern Lights", Base() + "/decoy/100x100bb.jpg") + "," +
                  Result("ANNA LIND", "Northern  Lights!", Base() + "/good/100x100bb.jpg");
      else
        results = Result("Kestrel Kids", "Hover", Base() + "/decoy/100x100bb.jpg");
      return connection.Send(Reply("200 OK", R"({"resultCount":2,"results":[)" + results + "]}"));
    }
    if (target == "/good/1200x1200bb.jpg") return connection.Send(Reply("200 OK", GoodJpeg));
    if (target == "/decoy/1200x1200bb.jpg") return connection.Send(Reply("200 OK", SomeJpeg(250)));
    return connection.Send(Reply("404 Not Found", ""));
  }

  TLocalHttpServer server_;
};

// Every album's folder below root; cover is its cover file's name there.
TAlbum* AddAlbum(tavio::TOLSaveable& albums, const std::string& root, const std::string& artist,
                 const std::string& album, const std::string& cover) {
  auto* a = new TAlbum();
  a->Artist = artist;
  a->Album = album;
  std::filesystem::create_directories(root + album);
  a->CoverFile = root + album + "/" + cover;
  albums.Add(a);
  return a;
}

std::vector<TAlbum*> All(const tavio::TOLSaveable& albums) {
  std::vector<TAlbum*> all;
  for (int32_t i = 0; i < albums.Count(); ++i) all.push_back(albums.Items(i));
  return all;
}

struct TFakeClock {
  std::atomic<int64_t> Now{1000};
  tavio::TMissingCoversClock Clock() {
    return {[this] { return Now.load(); }, [this](int64_t ms) { Now += ms; }};
  }
};

}  // namespace

TEST(MissingCovers, StoresTheMatchingPictureOnlyForDefaultCoversAndPacesTheSearches) {
  TTempFolder folder;
  TCannedItunes itunes;
  TFakeClock clock;
  itunes.Clock = &clock.Now;
  tavio::TOLSaveable albums;
  TAlbum* lind = AddAlbum(albums, folder.Path(), "Anna Lind", "Northern Lights", "xx.xxx");
  TAlbum* kestrel = AddAlbum(albums, folder.Path(), "Kestrel", "Hover", "xx.xxx");
  AddAlbum(albums, folder.Path(), "Anna Lind", "With Picture", "cover.jpg");
  // The library is older than this folder's own picture, which must stay.
  TAlbum* stale = AddAlbum(albums, folder.Path(), "Anna Lind", "Stale", "xx.xxx");
  folder.Write("Stale/folder.jpg", "the user's own");

  tavio::TItunesSource source(itunes.Base(), "US");
  tavio::THttpClient web;
  tavio::TMissingCoversOptions options;
  options.Clock = clock.Clock();
  int saves = 0;
  std::vector<std::string> lines;
  tavio::TMissingCoversEvents events;
  events.SaveLibrary = [&] { ++saves; };
  events.AlbumDone = [&](const TAlbum& a, const tavio::TMissingCoverOutcome& o) {
    lines.push_back(a.Album + ":" + std::to_string(static_cast<int>(o.Result)) + ":" + o.Reason);
  };
  const tavio::TMissingCoversSummary summary = tavio::TMissingCovers(source, web, options).Run(All(albums), events);

  EXPECT_EQ(summary.Found, 1);
  EXPECT_EQ(summary.NotFound, 1);
  EXPECT_EQ(summary.Failed, 1);
  EXPECT_EQ(folder.Read("Northern Lights/folder.jpg"), itunes.GoodJpeg);
  EXPECT_EQ(lind->CoverFile, folder.Path() + "Northern Lights/folder.jpg");
  EXPECT_FALSE(folder.Exists("Hover/folder.jpg"));
  EXPECT_EQ(kestrel->CoverFile, folder.Path() + "Hover/xx.xxx");
  EXPECT_EQ(folder.Read("Stale/folder.jpg"), "the user's own");
  EXPECT_EQ(stale->CoverFile, folder.Path() + "Stale/xx.xxx");
  EXPECT_EQ(saves, 1);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "Stale:2:folder.jpg is already there");
  for (const std::string& target : itunes.Targets()) {
    EXPECT_EQ(target.find("With+Picture"), std::string::npos);
    EXPECT_EQ(target.find("/decoy/"), std::string::npos);
  }
  ASSERT_EQ(itunes.SearchTimes.size(), 2u);
  for (size_t i = 1; i < itunes.SearchTimes.size(); ++i)
    EXPECT_GE(itunes.SearchTimes[i] - itunes.SearchTimes[i - 1], tavio::kItunesRequestIntervalMs);
}

TEST(MissingCovers, BusyServiceIsAskedAgainOnlyAfterItsRetryAfterAndGivenUpInTheEnd) {
  TTempFolder folder;
  TCannedItunes itunes;
  TFakeClock clock;
  itunes.Clock = &clock.Now;
  itunes.BusyAnswers = {Reply("429 Too Many Requests", "", "Retry-After: 7\r\n")};
  tavio::TOLSaveable albums;
  AddAlbum(albums, folder.Path(), "Anna Lind", "Northern Lights", "xx.xxx");
  tavio::TItunesSource source(itunes.Base(), "US");
  tavio::THttpClient web;
  tavio::TMissingCoversOptions options;
  options.Clock = clock.Clock();
  options.BackOffMs = 1000;
  tavio::TMissingCoversSummary summary = tavio::TMissingCovers(source, web, options).Run(All(albums), {});
  EXPECT_EQ(summary.Found, 1);
  ASSERT_EQ(itunes.SearchTimes.size(), 2u);
  EXPECT_GE(itunes.SearchTimes[1] - itunes.SearchTimes[0], 7000);

  // Busy for ever: a few tries, then the album fails with the answer in words.
  tavio::TOLSaveable more;
  AddAlbum(more, folder.Path(), "Kestrel", "Hover", "xx.xxx");
  itunes.BusyAnswers.assign(10, Reply("503 Service Unavailable", ""));
  itunes.SearchTimes.clear();
  std::string reason;
  tavio::TMissingCoversEvents events;
  events.AlbumDone = [&](const TAlbum&, const tavio::TMissingCoverOutcome& o) { reason = o.Reason; };
  summary = tavio::TMissingCovers(source, web, options).Run(All(more), events);
  EXPECT_EQ(summary.Failed, 1);
  EXPECT_EQ(reason, "the server answered 503 Service Unavailable");
  EXPECT_EQ(itunes.SearchTimes.size(), static_cast<size_t>(options.MaxRetries + 1));
}

TEST(MissingCovers, StopFlagEndsTheRunWhileItWaits) {
  TTempFolder folder;
  TCannedItunes itunes;
  itunes.BusyAnswers = {Reply("429 Too Many Requests", "", "Retry-After: 100000\r\n")};
  tavio::TOLSaveable albums;
  AddAlbum(albums, folder.Path(), "Anna Lind", "Northern Lights", "xx.xxx");
  std::atomic<bool> stop{false};
  TFakeClock clock;
  tavio::TMissingCoversOptions options;
  options.Stop = &stop;
  options.Clock = {[&] { return clock.Now.load(); }, [&](int64_t ms) {
                     clock.Now += ms;
                     if (clock.Now > 60000) stop = true;
                   }};
  tavio::TItunesSource source(itunes.Base(), "US");
  tavio::THttpClient web;
  const tavio::TMissingCoversSummary summary = tavio::TMissingCovers(source, web, options).Run(All(albums), {});
  EXPECT_TRUE(summary.Stopped);
  EXPECT_EQ(itunes.Targets().size(), 1u);
  EXPECT_FALSE(folder.Exists("Northern Lights/folder.jpg"));

  // A fetch the stop cuts short ends the run as stopped, not as a failed album.
  class TStoppedFetch : public tavio::TWebGet {
   public:
    explicit TStoppedFetch(std::atomic<bool>& stop) : stop_(stop) {}
    void Get(const std::string&, std::vector<uint8_t>&, size_t) override {
      stop_ = true;
      throw std::runtime_error("Cancelled");
    }

   private:
    std::atomic<bool>& stop_;
  };
  stop = false;
  TStoppedFetch cut(stop);
  int32_t reported = 0;
  tavio::TMissingCoversEvents events;
  events.AlbumDone = [&](const TAlbum&, const tavio::TMissingCoverOutcome&) { ++reported; };
  const tavio::TMissingCoversSummary cutShort = tavio::TMissingCovers(source, cut, options).Run(All(albums), events);
  EXPECT_TRUE(cutShort.Stopped);
  EXPECT_EQ(cutShort.Failed, 0);
  EXPECT_EQ(reported, 0);
}

namespace {

int RunCoversTool(const std::string& args, std::string& out) {
  return tavio::test::RunCapturingOutput(std::string(std::getenv("TAVIO_TOOL")) + " covers " + args + " 2>/dev/null", out);
}

}  // namespace

TEST(CoversCommand, DryRunWritesNothingAndTheRealRunStoresAndSavesTheLibrary) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !std::filesystem::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  TTempFolder folder;
  TCannedItunes itunes;
  {
    tavio::TOLSaveable albums;
    AddAlbum(albums, folder.Path(), "Anna Lind", "Northern Lights", "xx.xxx");
    AddAlbum(albums, folder.Path(), "Kestrel", "Hover", "cover.jpg");
    albums.SaveToFile(folder.Path() + "Data.dat");
  }
  const std::string before = folder.Read("Data.dat");
  const std::string args = "--source itunes --endpoint " + itunes.Base() + " ";
  std::string out;
  EXPECT_EQ(RunCoversTool("--dry-run " + args + folder.Path(), out), 0);
  EXPECT_EQ(out, "Anna Lind - Northern Lights: found\nfound 1, not found 0, failed 0 (dry run: nothing written)\n");
  EXPECT_EQ(folder.Read("Data.dat"), before);
  EXPECT_FALSE(folder.Exists("Northern Lights/folder.jpg"));

  EXPECT_EQ(RunCoversTool("--country de " + args + folder.Path(), out), 0);
  EXPECT_EQ(out, "Anna Lind - Northern Lights: found\nfound 1, not found 0, failed 0\n");
  // The tool has no system region: "US" unless told, then the store asked for.
  std::vector<std::string> searches;
  for (const std::string& target : itunes.Targets())
    if (target.rfind("/search?", 0) == 0) searches.push_back(target.substr(target.find("&country=")));
  EXPECT_EQ(searches, (std::vector<std::string>{"&country=US", "&country=DE"}));
  EXPECT_EQ(folder.Read("Northern Lights/folder.jpg"), itunes.GoodJpeg);
  tavio::TOLSaveable saved;
  saved.LoadFromFile(folder.Path() + "Data.dat");
  ASSERT_EQ(saved.Count(), 2);
  EXPECT_EQ(saved.Items(0)->CoverFile, folder.Path() + "Northern Lights/folder.jpg");
  EXPECT_EQ(saved.Items(1)->CoverFile, folder.Path() + "Hover/cover.jpg");
}

TEST(CoversCommand, BadArgumentsAndUnreadableLibraryExitWithOneAndKeepTheFile) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !std::filesystem::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  TTempFolder folder;
  std::string out;
  EXPECT_EQ(RunCoversTool("", out), 1);
  EXPECT_EQ(RunCoversTool("--source lastfm " + folder.Path(), out), 1);
  EXPECT_EQ(RunCoversTool(folder.Path() + " --endpoint", out), 1);
  EXPECT_EQ(RunCoversTool("--country 'D&' " + folder.Path(), out), 1);
  EXPECT_EQ(RunCoversTool(folder.Path(), out), 1);
  folder.Write("Data.dat", "not a library");
  EXPECT_EQ(RunCoversTool("--endpoint http://127.0.0.1:9 " + folder.Path(), out), 1);
  EXPECT_EQ(folder.Read("Data.dat"), "not a library");
}

TEST(MissingCoversTally, CountsEachOutcomeAndNamesTheFirstFailuresWithTheirReasons) {
  TMissingCoversTally tally(14);
  tally.Add("Sky", "Blue", {TMissingCoverResult::Found, ""});
  tally.Add("Sea", "Deep", {TMissingCoverResult::NotFound, ""});
  for (int i = 0; i < 12; ++i) tally.Add("A", std::to_string(i), {TMissingCoverResult::Failed, "timeout"});
  EXPECT_EQ(tally.Progress(), "14 of 14 albums: found 1, not found 1, failed 12");
  const std::string summary = tally.Summary(false);
  EXPECT_EQ(summary.rfind("Found 1, not found 1, failed 12.\n\nFailed:\nA - 0: timeout\n", 0), 0u) << summary;
  EXPECT_NE(summary.find("A - 9: timeout\n(and 2 more)"), std::string::npos) << summary;
  EXPECT_EQ(summary.find("A - 10"), std::string::npos);
  EXPECT_EQ(TMissingCoversTally(5).Summary(true), "Stopped after 0 of 5 albums.\nFound 0, not found 0, failed 0.");
  EXPECT_EQ(TMissingCoversTally(0).Summary(false), "Every album has a cover picture.");
}
