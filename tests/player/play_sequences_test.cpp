// The messages the song list's player actions send, on a recording player.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/play_sequences.h"
#include "player/winamp_control.h"

using namespace tavio;

namespace {

constexpr TWindowHandle kPlayerWindow = 0x1234;

struct TSentMessage {
  TWindowHandle Window;
  uint32_t Message;
  uintptr_t WParam;
  intptr_t LParam;  // for WM_COPYDATA: 0, see CopiedTag/CopiedBytes
  uintptr_t CopiedTag = 0;
  std::string CopiedBytes;
};

// A player window that answers the "is playing" query and records the rest,
// copying the data of WM_COPYDATA while it is valid, as the real send does.
class TRecordingPlayer final : public TPlayerMessenger {
 public:
  TWindowHandle FindWindowOfClass(const std::string& className) override {
    SearchedClass = className;
    return WindowExists ? kPlayerWindow : 0;
  }

  intptr_t Send(TWindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    TSentMessage sent{window, message, wParam, lParam, 0, {}};
    if (message == kWmCopyData) {
      const auto* record = reinterpret_cast<const TCopyDataRecord*>(lParam);
      sent.LParam = 0;
      sent.CopiedTag = record->Tag;
      sent.CopiedBytes.assign(static_cast<const char*>(record->Bytes), record->ByteCount);
    }
    Sent.push_back(sent);
    return message == kWmUser && lParam == kIpcIsPlaying ? PlayingReply : 0;
  }

  // "U104" for WM_USER/104, "C40045" for WM_COMMAND/40045, "D:path" for a file.
  std::vector<std::string> Trace() const {
    std::vector<std::string> trace;
    for (const TSentMessage& sent : Sent) {
      if (sent.Message == kWmUser) trace.push_back("U" + std::to_string(sent.LParam));
      else if (sent.Message == kWmCommand) trace.push_back("C" + std::to_string(sent.WParam));
      else if (sent.Message == kWmCopyData) trace.push_back("D:" + sent.CopiedBytes.substr(0, sent.CopiedBytes.find('\0')));
      else trace.push_back("?" + std::to_string(sent.Message));
    }
    return trace;
  }

  bool WindowExists = true;
  intptr_t PlayingReply = 0;
  std::string SearchedClass;
  std::vector<TSentMessage> Sent;
};

using Trace = std::vector<std::string>;

}  // namespace

TEST(PlayOneSong, WhilePlayingOnlyQueuesTheSong) {
  TRecordingPlayer player;
  player.PlayingReply = 1;
  PlayOneSong(player, "C:\\Music\\A\\01 Song.mp3");
  EXPECT_EQ(player.Trace(), (Trace{"U104", "D:C:\\Music\\A\\01 Song.mp3"}));
  const TSentMessage& copy = player.Sent.at(1);
  EXPECT_EQ(copy.WParam, 0u);
  EXPECT_EQ(copy.CopiedTag, 100u);
  // The byte count covers the path and its terminating zero.
  EXPECT_EQ(copy.CopiedBytes, std::string("C:\\Music\\A\\01 Song.mp3", 22) + '\0');
}

// A path outside the code page sent as ANSI would reach the player as '?'s
// and name no file; one inside it must still go the old way.
TEST(PlayOneSong, PathOutsideTheCodePageGoesWideAndOthersStayAnsi) {
  TRecordingPlayer player;
  player.PlayingReply = 1;
  PlayOneSong(player, "C:\\M\\\xC3\xA9t\xC3\xA9.mp3");         // "C:\M\été.mp3"
  PlayOneSong(player, "C:\\\xE9\x9F\xB3\xE6\xA5\xBD\\a.mp3");  // "C:\音楽\a.mp3"
  ASSERT_EQ(player.Sent.size(), 4u);
  EXPECT_EQ(player.Sent[1].CopiedTag, 100u);
  EXPECT_EQ(player.Sent[1].CopiedBytes, std::string("C:\\M\\\xE9t\xE9.mp3") + '\0');  // Windows-1252
  EXPECT_EQ(player.Sent[3].CopiedTag, 1100u);
  const std::u16string wide = u"C:\\\u97F3\u697D\\a.mp3";
  std::string utf16le;
  for (const char16_t unit : wide) utf16le += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  EXPECT_EQ(player.Sent[3].CopiedBytes, utf16le + std::string(2, '\0'));
}

TEST(PlayOneSong, WhileStoppedReplacesThePlaylistAndPlays) {
  TRecordingPlayer player;
  PlayOneSong(player, "x.mp3");
  EXPECT_EQ(player.Trace(), (Trace{"U104", "U101", "D:x.mp3", "C40045"}));
  for (const TSentMessage& sent : player.Sent) EXPECT_EQ(sent.Window, kPlayerWindow);
}

TEST(PlayWholeAlbum, WhilePlayingStopsThenQueuesEverySongInListOrder) {
  TRecordingPlayer player;
  player.PlayingReply = 3;  // paused counts as playing too
  PlayWholeAlbum(player, {"1.mp3", "2.mp3", "3.mp3"});
  EXPECT_EQ(player.Trace(), (Trace{"U104", "C40047", "U101", "D:1.mp3", "D:2.mp3", "D:3.mp3", "C40045"}));
}

TEST(PlayWholeAlbum, WithoutSongsClearsAndPlays) {
  TRecordingPlayer player;
  PlayWholeAlbum(player, {});
  EXPECT_EQ(player.Trace(), (Trace{"U104", "U101", "C40045"}));
}

TEST(PlaySequences, NoPlayerWindowMeansNothingIsSent) {
  TRecordingPlayer player;
  player.WindowExists = false;
  PlayOneSong(player, "x.mp3");
  PlayWholeAlbum(player, {"x.mp3"});
  EXPECT_TRUE(player.Sent.empty());
  EXPECT_EQ(player.SearchedClass, "Winamp v1.x");
}

TEST(WinAmpControl, OnlyAPositiveReplyMeansPlaying) {
  const struct {
    intptr_t reply;
    bool playing;
  } cases[] = {{0, false}, {1, true}, {3, true}, {-1, false}};
  for (const auto& c : cases) {
    TRecordingPlayer player;
    player.PlayingReply = c.reply;
    TWinAmpControl control(player);
    control.GoFindWinAmp();
    EXPECT_EQ(control.IsPlaying(), c.playing) << c.reply;
  }
}

TEST(WinAmpControl, FoundFollowsTheLastSearch) {
  TRecordingPlayer player;
  TWinAmpControl control(player);
  EXPECT_FALSE(control.Found);
  EXPECT_EQ(control.GoFindWinAmp(), kPlayerWindow);
  EXPECT_TRUE(control.Found);
  player.WindowExists = false;
  EXPECT_EQ(control.GoFindWinAmp(), 0u);
  EXPECT_FALSE(control.Found);
  EXPECT_EQ(control.WindowHandle, 0u);
}

namespace {

// A player that knows the playing entry's path in the code page and, when
// it has the wide form, in UTF-16.
class TPlaylistPlayer final : public TPlayerMessenger {
 public:
  TWindowHandle FindWindowOfClass(const std::string&) override { return kPlayerWindow; }
  intptr_t Send(TWindowHandle, uint32_t message, uintptr_t, intptr_t lParam) override {
    if (message != kWmUser) return 0;
    if (lParam == kIpcGetPlaylistFile) return reinterpret_cast<intptr_t>(Ansi.c_str());
    if (lParam == kIpcGetPlaylistFileWide && !Wide.empty()) return reinterpret_cast<intptr_t>(Wide.c_str());
    return 0;
  }

  std::string Ansi;
  std::u16string Wide;
};

}  // namespace

// The code page's '?' in place of a Japanese folder would never match the
// album the player is on.
TEST(WinAmpControl, PlayingFileComesWideWhenThePlayerCanAndFromTheCodePageOtherwise) {
  TPlaylistPlayer player;
  player.Ansi = "C:\\?\\a.mp3";
  player.Wide = u"C:\\\u97F3\\a.mp3";
  EXPECT_EQ(TWinAmpControl(player).PlayingFile(), "C:\\\xE9\x9F\xB3\\a.mp3");
  player.Ansi = "C:\\Caf\xE9\\a.mp3";  // Windows-1252
  player.Wide.clear();
  EXPECT_EQ(TWinAmpControl(player).PlayingFile(), "C:\\Caf\xC3\xA9\\a.mp3");
}
