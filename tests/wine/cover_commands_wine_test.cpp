// The cover commands in the stand-in player: a right-click, a menu item, and
// the picture from the clipboard or the classic image search (against a
// server of the test's own on 127.0.0.1) lands in the album folder as folder.jpg.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "library/library_files.h"
#include "player_host_run.h"
#include "raster/bmp_file.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"
#include "raster/picture_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/local_http_server.h"

#include <jpeglib.h>

using namespace tavio;
using namespace tavio::test;

namespace {

// The frame's client area is 1120 x 420, so the 1110 x 370 view sits at (5, 25).
constexpr int kViewLeft = 5, kViewTop = 25;

struct TCoverRun {
  std::string folder;       // the player's folder
  std::string albumFolder;  // the one album's folder, holding front.bmp
  std::string pluginFolder;
};

// One album, "Blue" by "Sky", whose cover is front.bmp in its own folder.
TCoverRun PlayerFolderWithOneAlbum(const std::string& tag) {
  TCoverRun r;
  r.folder = NewTempFolder(tag);
  r.albumFolder = r.folder + "Album\\";
  r.pluginFolder = r.folder + "Plugins\\Tavio\\";
  CreateDirectoryA((r.folder + "Plugins").c_str(), nullptr);
  CreateDirectoryA(r.pluginFolder.c_str(), nullptr);
  CreateDirectoryA(r.albumFolder.c_str(), nullptr);
  for (const char* stale : {"folder.jpg", "after.bmp"}) DeleteFileA((r.albumFolder + stale).c_str());
  DeleteFileA((r.folder + "after.bmp").c_str());
  TBitmap32 front(64, 64);
  front.Clear(Color32(20, 160, 20));
  SaveBmpFile(front, r.albumFolder + "front.bmp");
  TOLSaveable albums, hidden;
  auto* album = new TAlbum;
  album->Artist = "Blue";
  album->Album = "Sky";
  album->CoverFile = r.albumFolder + "front.bmp";
  albums.Add(album);
  SaveLibraryFiles(r.pluginFolder, albums, hidden);
  const auto store = OpenSettingsStore();
  store->WriteInteger(settings::kSettings, settings::kCurrentIndex, 0);
  store->WriteFlag(settings::kSettings, settings::kControlPanel, false);
  return r;
}

TColor32 MiddlePixel(const std::string& shotFile) {
  TBitmap32 shot;
  LoadFromFile(shot, shotFile);
  return shot.GetPixel(kViewLeft + 555, kViewTop + 150);
}

bool Near(TColor32 a, TColor32 b) {
  const auto d = [](uint32_t x, uint32_t y) { return x > y ? x - y : y - x; };
  return d(RedOf(a), RedOf(b)) < 12 && d(GreenOf(a), GreenOf(b)) < 12 && d(BlueOf(a), BlueOf(b)) < 12;
}

struct TJpegFacts {
  bool progressive = true;
  int components = 0;
  std::vector<UINT16> lumaTable;
};

TJpegFacts FactsOf(const std::vector<uint8_t>& bytes) {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  TJpegFacts facts;
  facts.progressive = info.progressive_mode != 0;
  facts.components = info.num_components;
  if (info.quant_tbl_ptrs[0]) facts.lumaTable.assign(info.quant_tbl_ptrs[0]->quantval, info.quant_tbl_ptrs[0]->quantval + 64);
  jpeg_destroy_decompress(&info);
  return facts;
}

// Puts a plain bitmap on the clipboard, owned by a hidden window of ours.
class TClipboardBitmap {
 public:
  TClipboardBitmap(int w, int h, COLORREF color) {
    owner_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HDC dc = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    placed_ = OpenClipboard(owner_) && EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap);
    CloseClipboard();
  }
  ~TClipboardBitmap() {
    if (OpenClipboard(owner_)) {
      EmptyClipboard();
      CloseClipboard();
    }
    DestroyWindow(owner_);
  }
  bool Placed() const { return placed_; }

 private:
  HWND owner_;
  bool placed_ = false;
};

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TEST(CoverCommands, PasteFromTheClipboardWritesABaselineFolderJpg_Wine) {
  const TCoverRun r = PlayerFolderWithOneAlbum("paste");
  const std::vector<uint8_t> front = ReadFileBytes(r.albumFolder + "front.bmp");
  TClipboardBitmap clipboard(200, 150, RGB(250, 120, 10));
  ASSERT_TRUE(clipboard.Placed());
  PlayerHostProcess player({"resize 1120 420", "wait 1500", "rclick 555 150", "menu Insert cover from clipboard",
                            "wait 1000", "screenshot " + r.folder + "after.bmp", "quit"},
                           "", r.folder);
  // The clipboard's owner answers while the player reads it.
  for (int i = 0; i < 600 && GetFileAttributesA((r.folder + "after.bmp").c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
  const auto run = player.Finish();
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  for (const auto& line : run.log) EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;

  const std::vector<uint8_t> jpg = ReadFileBytes(r.albumFolder + "folder.jpg");
  const TJpegFacts facts = FactsOf(jpg);
  EXPECT_FALSE(facts.progressive);
  EXPECT_EQ(facts.components, 3);
  TBitmap32 reference(8, 8);
  reference.Clear(Color32(1, 2, 3));
  EXPECT_EQ(facts.lumaTable, FactsOf(EncodeJpeg(reference, 90)).lumaTable) << "quality 90";
  const TBitmap32 decoded = DecodeJpeg(jpg.data(), jpg.size());
  EXPECT_EQ(decoded.Width(), 200);
  EXPECT_TRUE(Near(decoded.GetPixel(100, 75), Color32(250, 120, 10)));

  EXPECT_EQ(ReadFileBytes(r.albumFolder + "front.bmp"), front);
  TOLSaveable albums, hidden;
  LoadLibraryFiles(r.pluginFolder, albums, hidden);
  ASSERT_EQ(albums.Count(), 1);
  EXPECT_EQ(albums.Items(0)->CoverFile, r.albumFolder + "folder.jpg");
  EXPECT_TRUE(Near(MiddlePixel(r.folder + "after.bmp"), Color32(250, 120, 10)));
}

TEST(CoverCommands, ImageSearchCellChosenByDoubleClickIsStoredByteForByte_Wine) {
  const TCoverRun r = PlayerFolderWithOneAlbum("search");
  std::vector<std::vector<uint8_t>> pictures;
  for (const TColor32 color : {Color32(200, 30, 200), Color32(30, 30, 200)}) {
    TBitmap32 picture(320, 240);
    picture.Clear(color);
    pictures.push_back(EncodeJpeg(picture, 75));
  }
  std::atomic<int> port{0};  // known once the server listens
  TLocalHttpServer server([&](const std::string& request, TServerConnection& c) {
    const std::string target = TargetOf(request);
    const std::string here = "http://127.0.0.1:" + std::to_string(port.load()) + "/";
    std::string body;
    if (target.rfind("/images?q=", 0) == 0) {
      body = "<a href=/url?imgurl=" + here + "broken.jpg&x>" +  // a 404: skipped
             "<a href=/url?imgurl=" + here + "1.jpg&x>" +
             "<a href=/url?imgurl=" + here + "2.jpg&x>";
    } else if (target == "/1.jpg" || target == "/2.jpg") {
      body = Text(pictures[target[1] - '1']);
    } else {
      return c.Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    }
    return c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
  });
  port = server.Port();
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kCoverSource, "classic");
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kImageSearchHost,
                                   "127.0.0.1:" + std::to_string(server.Port()));
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1500", "rclick 555 150", "menu Load cover ...",
                                  "dialog-button Search ...", "wait 2000", "dialog-dblclick 196 102", "wait 1000",
                                  "screenshot " + r.folder + "after.bmp", "quit"},
                                 "", r.folder);
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kImageSearchHost, "");
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kCoverSource, "");
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  for (const auto& line : run.log) EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;

  const auto requests = server.Requests();
  ASSERT_GE(requests.size(), 1u);
  EXPECT_EQ(TargetOf(requests[0].Bytes), "/images?q=Blue+Sky");
  EXPECT_NE(requests[0].Bytes.find("\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n"),
            std::string::npos);
  // The second cell holds the second picture that decoded.
  EXPECT_EQ(ReadFileBytes(r.albumFolder + "folder.jpg"), pictures[1]);
  EXPECT_TRUE(Near(MiddlePixel(r.folder + "after.bmp"), Color32(30, 30, 200)));
}

TEST(CoverCommands, DoubleClickOnAPlaceholderCellKeepsTheAlbumsCover_Wine) {
  const TCoverRun r = PlayerFolderWithOneAlbum("placeholder");
  const std::vector<uint8_t> front = ReadFileBytes(r.albumFolder + "front.bmp");
  TLocalHttpServer server([&](const std::string&, TServerConnection& c) {
    return c.Send("HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nno links");
  });
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kCoverSource, "classic");
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kImageSearchHost,
                                   "127.0.0.1:" + std::to_string(server.Port()));
  // Before any search, and after one that found nothing: every cell shows the placeholder.
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1500", "rclick 555 150", "menu Load cover ...",
                                  "dialog-dblclick 68 102", "dialog-button Search ...", "wait 1000",
                                  "dialog-dblclick 196 102", "wait 500", "dialog-close", "wait 500", "quit"},
                                 "", r.folder);
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kImageSearchHost, "");
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kCoverSource, "");
  ASSERT_FALSE(run.timedOut);
  for (const auto& line : run.log) EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;
  EXPECT_EQ(GetFileAttributesA((r.albumFolder + "folder.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileBytes(r.albumFolder + "front.bmp"), front);
  TOLSaveable albums, hidden;
  LoadLibraryFiles(r.pluginFolder, albums, hidden);
  ASSERT_EQ(albums.Count(), 1);
  EXPECT_EQ(albums.Items(0)->CoverFile, r.albumFolder + "front.bmp");
}

TEST(CoverCommands, ClosingTheSearchWhileASilentServerIsAskedEndsAtOnceAndStoresNothing_Wine) {
  const TCoverRun r = PlayerFolderWithOneAlbum("silent");
  const std::vector<uint8_t> front = ReadFileBytes(r.albumFolder + "front.bmp");
  std::atomic<int> asked{0};
  TLocalHttpServer silent([&](const std::string&, TServerConnection& c) {
    ++asked;
    c.WaitForClientClose();
    return false;
  });
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kCoverSource, "classic");
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kImageSearchHost,
                                   "127.0.0.1:" + std::to_string(silent.Port()));
  const auto begun = GetTickCount();
  // The window answers the close while the page is still awaited (for 20 s, were it asked to wait).
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1500", "rclick 555 150", "menu Load cover ...",
                                  "dialog-button Search ...", "wait 1000", "dialog-close", "wait 300",
                                  "screenshot " + r.folder + "after.bmp", "quit"},
                                 "", r.folder);
  const DWORD seconds = (GetTickCount() - begun) / 1000;
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kImageSearchHost, "");
  OpenSettingsStore()->WriteString(settings::kSettings, settings::kCoverSource, "");
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  for (const auto& line : run.log) EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;
  EXPECT_EQ(asked.load(), 1);
  EXPECT_LT(seconds, 15u);
  EXPECT_EQ(GetFileAttributesA((r.albumFolder + "folder.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileBytes(r.albumFolder + "front.bmp"), front);
  EXPECT_TRUE(Near(MiddlePixel(r.folder + "after.bmp"), Color32(20, 160, 20)));
}
