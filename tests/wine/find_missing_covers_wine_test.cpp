// "Find missing covers ..." and the image dialog's source choice in the
// stand-in player, against an iTunes- and MusicBrainz-style server of the
// test's own on 127.0.0.1.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "library/library_files.h"
#include "library/library_scan.h"
#include "player_host_run.h"
#include "raster/bmp_file.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"
#include "raster/picture_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/local_http_server.h"

using namespace tavio;
using namespace tavio::test;

namespace {

struct TLibraryAlbum {
  const char* Artist;
  const char* Album;
  bool HasPicture;
};

// Albums in folders of their own under the player's folder; those without a
// picture show the default cover.
std::string PlayerFolderWith(const std::string& tag, const std::vector<TLibraryAlbum>& list) {
  const std::string folder = NewTempFolder(tag);
  const std::string plugin = folder + "Plugins\\Tavio\\";
  CreateDirectoryA((folder + "Plugins").c_str(), nullptr);
  CreateDirectoryA(plugin.c_str(), nullptr);
  TOLSaveable albums, hidden;
  for (const TLibraryAlbum& a : list) {
    const std::string albumFolder = folder + a.Album + "\\";
    CreateDirectoryA(albumFolder.c_str(), nullptr);
    DeleteFileA((albumFolder + kStoredCoverName).c_str());
    auto* album = new TAlbum;
    album->Artist = a.Artist;
    album->Album = a.Album;
    album->CoverFile = albumFolder + (a.HasPicture ? "front.bmp" : kNoPictureName);
    if (a.HasPicture) {
      TBitmap32 front(64, 64);
      front.Clear(Color32(20, 160, 20));
      SaveBmpFile(front, album->CoverFile);
    }
    albums.Add(album);
  }
  SaveLibraryFiles(plugin, albums, hidden);
  const auto store = OpenSettingsStore();
  store->WriteInteger(settings::kSettings, settings::kCurrentIndex, 0);
  store->WriteFlag(settings::kSettings, settings::kControlPanel, false);
  return folder;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Ok(const std::string& body, const char* type = "application/json") {
  return "HTTP/1.1 200 OK\r\nContent-Type: " + std::string(type) + "\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The cover settings of a run, put back to the real services when it ends.
class TCoverSettings {
 public:
  TCoverSettings(const std::string& source, const std::string& url) {
    const auto store = OpenSettingsStore();
    store->WriteString(settings::kSettings, settings::kCoverSource, source);
    for (const auto name : {settings::kItunesUrl, settings::kMusicBrainzUrl, settings::kCoverArtUrl})
      store->WriteString(settings::kSettings, name, url);
  }
  ~TCoverSettings() {
    const auto store = OpenSettingsStore();
    for (const auto name : {settings::kCoverSource, settings::kItunesUrl, settings::kMusicBrainzUrl,
                            settings::kCoverArtUrl})
      store->WriteString(settings::kSettings, name, "");
  }
};

}  // namespace

TEST(FindMissingCovers, FillsOnlyDefaultCoversFromTheSourceAndSumsUp_Wine) {
  const std::string folder = PlayerFolderWith(
      "missing", {{"Sky", "Blue", false}, {"Sea", "Deep", false}, {"Sun", "Red", true}});
  TBitmap32 art(300, 300);
  art.Clear(Color32(200, 30, 200));
  const std::vector<uint8_t> jpeg = EncodeJpeg(art, 80);
  std::atomic<int> port{0};
  TLocalHttpServer server([&](const std::string& request, TServerConnection& c) {
    const std::string target = TargetOf(request);
    const std::string artUrl = "http://127.0.0.1:" + std::to_string(port.load()) + "/art/100x100bb.jpg";
    if (target.rfind("/search?term=Sky+Blue&", 0) == 0)
      return c.Send(Ok(R"({"resultCount":1,"results":[{"artistName":"SKY","collectionName":"Blue!","artworkUrl100":")" +
                       artUrl + "\"}]}"));
    if (target.rfind("/search?", 0) == 0) return c.Send(Ok(R"({"resultCount":0,"results":[]})"));
    if (target == "/art/1200x1200bb.jpg") return c.Send(Ok(std::string(jpeg.begin(), jpeg.end()), "image/jpeg"));
    return c.Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
  });
  port = server.Port();
  const TCoverSettings cover("itunes", "http://127.0.0.1:" + std::to_string(server.Port()));
  const std::vector<uint8_t> front = ReadFileBytes(folder + "Red\\front.bmp");

  const auto run = RunPlayerHost({"resize 1120 420", "wait 1500", "rclick 555 150", "menu Find missing covers ...",
                                  "dialog-button OK", "wait 1500", "screenshot " + folder + "after.bmp", "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  // The summary box, and nothing else.
  EXPECT_EQ(run.Dialogs(), std::vector<std::string>{"dialog Find missing covers"});
  for (const auto& line : run.log) EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;
  EXPECT_TRUE(run.Contains("message Found 1, not found 1, failed 0."));

  EXPECT_EQ(ReadFileBytes(folder + "Blue\\folder.jpg"), jpeg);
  EXPECT_FALSE(Exists(folder + "Deep\\folder.jpg"));
  EXPECT_FALSE(Exists(folder + "Red\\folder.jpg"));
  EXPECT_EQ(ReadFileBytes(folder + "Red\\front.bmp"), front);
  int searches = 0;
  for (const auto& r : server.Requests()) searches += TargetOf(r.Bytes).rfind("/search?", 0) == 0;
  EXPECT_EQ(searches, 2) << "the album with a picture is not asked for";
  TOLSaveable albums, hidden;
  LoadLibraryFiles(folder + "Plugins\\Tavio\\", albums, hidden);
  ASSERT_EQ(albums.Count(), 3);
  const TAlbum* blue = nullptr;
  for (int32_t i = 0; i < albums.Count(); ++i)
    if (albums.Items(i)->Album == "Blue") blue = albums.Items(i);
  ASSERT_NE(blue, nullptr);
  EXPECT_EQ(blue->CoverFile, folder + "Blue\\folder.jpg");
  // Blue, first in album order, shows its new cover in the middle.
  TBitmap32 shot;
  LoadFromFile(shot, folder + "after.bmp");
  const TColor32 middle = shot.GetPixel(5 + 555, 25 + 150);
  EXPECT_GT(RedOf(middle), 150u);
  EXPECT_LT(GreenOf(middle), 80u);
}

TEST(CoverSourceChoice, ChosenSourceIsRememberedAndAsked_Wine) {
  const std::string folder = PlayerFolderWith("source", {{"Blue", "Sky", true}});
  TLocalHttpServer server([&](const std::string&, TServerConnection& c) {
    return c.Send(Ok(R"({"release-groups":[]})"));
  });
  const TCoverSettings cover("itunes", "http://127.0.0.1:" + std::to_string(server.Port()));
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1500", "rclick 555 150", "menu Load cover ...",
                                  "dialog-choose MusicBrainz + Cover Art Archive", "dialog-button Search ...",
                                  "wait 1500", "dialog-close", "wait 300", "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  for (const auto& line : run.log) EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;
  EXPECT_EQ(OpenSettingsStore()->ReadString(settings::kSettings, settings::kCoverSource, ""), "musicbrainz");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(TargetOf(requests[0].Bytes),
            "/ws/2/release-group/?query=releasegroup%3A%22Sky%22+AND+artist%3A%22Blue%22&fmt=json&limit=20");
}

TEST(FindMissingCovers, StopEndsTheRunAtOnceWhileASilentServerIsAsked_Wine) {
  const std::string folder = PlayerFolderWith("stop", {{"Sky", "Blue", false}});
  TLocalHttpServer silent([](const std::string&, TServerConnection& c) {
    c.WaitForClientClose();
    return false;
  });
  const TCoverSettings cover("itunes", "http://127.0.0.1:" + std::to_string(silent.Port()));
  const auto begun = GetTickCount();
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1500", "rclick 555 150", "menu Find missing covers ...",
                                  "wait 1000", "dialog-button Stop", "dialog-button OK", "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_LT((GetTickCount() - begun) / 1000, 15u) << "a fetch is given 60 s; Stop must not wait for it";
  for (const auto& line : run.log) EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;
  EXPECT_TRUE(run.Contains("message Stopped after 0 of 1 albums. Found 0, not found 0, failed 0."));
  EXPECT_FALSE(Exists(folder + "Blue\\folder.jpg"));
}
