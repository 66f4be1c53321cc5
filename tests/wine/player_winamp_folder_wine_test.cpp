// Winamp's folder from the registry, and the play commands through the real
// window search and send, to a stand-in player window of this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "player/play_sequences.h"
#include "player/winamp_control.h"

using namespace tavio;

namespace {

// Keeps the prefix's own Winamp key as it was.
class WinampKey : public ::testing::Test {
 protected:
  WinampKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Winamp", 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD size = sizeof saved_;
    hadValue_ = RegQueryValueExA(key, nullptr, nullptr, &savedType_, saved_, &size) == ERROR_SUCCESS;
    savedSize_ = size;
    RegCloseKey(key);
  }
  ~WinampKey() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Winamp");
    if (hadValue_) SetDefault(savedType_, saved_, savedSize_);
  }

  static void SetDefault(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Winamp", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, nullptr, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  static void SetFolder(const std::string& folder) {
    SetDefault(REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() + 1));
  }

 private:
  bool hadValue_ = false;
  DWORD savedType_ = REG_NONE;
  BYTE saved_[1024] = {};
  DWORD savedSize_ = 0;
};

}  // namespace

TEST_F(WinampKey, FolderGetsOneBackslashMoreWhateverItEndsWith_Wine) {
  SetFolder("C:\\Program Files\\Winamp");
  EXPECT_EQ(TWinAmpControl().GetWinampFolder(), "C:\\Program Files\\Winamp\\");
  SetFolder("C:\\Winamp\\");
  EXPECT_EQ(TWinAmpControl().GetWinampFolder(), "C:\\Winamp\\\\");
}

TEST_F(WinampKey, MissingFolderIsALoneBackslash_Wine) {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Winamp");
  EXPECT_EQ(TWinAmpControl().GetWinampFolder(), "\\");
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Winamp", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegCloseKey(key);
  EXPECT_EQ(TWinAmpControl().GetWinampFolder(), "\\");
}

TEST_F(WinampKey, FolderOfAnotherTypeIsAnError_Wine) {
  const DWORD number = 1;
  SetDefault(REG_DWORD, &number, sizeof number);
  EXPECT_THROW(TWinAmpControl().GetWinampFolder(), std::runtime_error);
}

TEST_F(WinampKey, FolderEndsAtItsFirstZero_Wine) {
  const char data[] = "C:\\Winamp\0junk";
  SetDefault(REG_SZ, data, sizeof data);
  EXPECT_EQ(TWinAmpControl().GetWinampFolder(), "C:\\Winamp\\");
}

namespace {

// A window of the player's class in this process, recording what it is sent.
struct TStandInPlayer {
  static inline std::vector<std::string> Log;
  static inline LRESULT PlayingReply = 0;

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
      Log.push_back("U" + std::to_string(lParam));
      return lParam == 104 ? PlayingReply : 0;
    }
    if (message == WM_COMMAND) {
      Log.push_back("C" + std::to_string(wParam));
      return 0;
    }
    if (message == WM_COPYDATA) {
      const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      Log.push_back("D" + std::to_string(record->dwData) + ":" +
                    std::string(static_cast<const char*>(record->lpData), record->cbData));
      return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  TStandInPlayer() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Winamp v1.x";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "Winamp v1.x", "stand-in", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    Log.clear();
  }
  ~TStandInPlayer() {
    DestroyWindow(window);
    UnregisterClassA("Winamp v1.x", GetModuleHandleA(nullptr));
  }

  HWND window = nullptr;
};

using Trace = std::vector<std::string>;

}  // namespace

TEST(PlayerWindow, SequencesReachThePlayerWindowWithTheFileBytes_Wine) {
  TStandInPlayer player;
  ASSERT_NE(player.window, nullptr);
  if (TWinAmpControl().GoFindWinAmp() != reinterpret_cast<TWindowHandle>(player.window))
    GTEST_SKIP() << "another player window is open on this desktop";
  TStandInPlayer::PlayingReply = 0;
  PlayOneSong("C:\\a.mp3");
  EXPECT_EQ(TStandInPlayer::Log, (Trace{"U104", "U101", std::string("D100:C:\\a.mp3", 13) + '\0', "C40045"}));
  TStandInPlayer::Log.clear();
  TStandInPlayer::PlayingReply = 1;
  PlayWholeAlbum({"1.mp3", "2.mp3"});
  EXPECT_EQ(TStandInPlayer::Log, (Trace{"U104", "C40047", "U101", std::string("D100:1.mp3") + '\0',
                                        std::string("D100:2.mp3") + '\0', "C40045"}));
}
