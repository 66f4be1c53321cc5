// Hostile ID3v2 sizes in the 32-bit process: the reader must end the frame
// list quietly, never reach its stop box, and never try the allocation.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "library/id3_malformed_tags.h"
#include "library/id3_test_files.h"
#include "library/id3v2_tag.h"

using namespace tavio;

namespace {

BOOL CALLBACK CloseUnexpectedWindow(HWND window, LPARAM seen) {
  *reinterpret_cast<bool*>(seen) = true;
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// Reads on a worker thread; a window that thread opens (the error box) is
// closed and reported, so a regression fails here instead of hanging.
bool ReadWithoutAnyWindow(TID3v2Tag& tag, const std::string& path) {
  std::atomic<DWORD> readerThread{0};
  std::atomic<bool> done{false};
  std::thread reader([&] {
    readerThread = GetCurrentThreadId();
    tag.ReadFromFile(path);
    done = true;
  });
  bool sawWindow = false;
  while (!done) {
    Sleep(5);
    if (readerThread != 0) EnumThreadWindows(readerThread, CloseUnexpectedWindow, reinterpret_cast<LPARAM>(&sawWindow));
  }
  reader.join();
  return !sawWindow;
}

}  // namespace

TEST(ID3v2Tag, HostileSizesEndTheFrameListWithoutTheErrorBox_Wine) {
  for (const test::TMalformedTag& malformed : test::MalformedTags()) {
    SCOPED_TRACE(malformed.name);
    TID3v2Tag tag;
    EXPECT_TRUE(ReadWithoutAnyWindow(tag, test::WriteTagFile(malformed.bytes, malformed.name)));
    EXPECT_EQ(tag.Frames().size(), malformed.frames);
    EXPECT_EQ(tag.GetAlbum(), malformed.album);
    EXPECT_EQ(tag.GetArtist(), malformed.artist);
  }
}
