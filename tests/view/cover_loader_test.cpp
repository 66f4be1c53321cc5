#include "view/cover_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "fake_view_platform.h"
#include "support/temp_folder.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"

using namespace tavio;
using namespace tavio::test;

namespace {

struct TLibrary {
  explicit TLibrary(int32_t count) {
    for (int32_t i = 0; i < count; ++i) list.Add(PlainAlbum(i));
  }
  int32_t IndexOf(const TAlbum& album) const {
    for (int32_t i = 0; i < list.Count(); ++i)
      if (list.Items(i) == &album) return i;
    return -1;
  }
  TOLSaveable list;
};

// What the loaders did, in the order they did it, across threads.
struct TWalkLog {
  void Add(const std::string& who, int32_t index) {
    std::lock_guard<std::mutex> lock(mutex);
    entries.push_back({who, index});
  }
  std::vector<int32_t> IndicesOf(const std::string& who) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<int32_t> out;
    for (const auto& e : entries)
      if (e.first == who) out.push_back(e.second);
    return out;
  }
  std::mutex mutex;
  std::vector<std::pair<std::string, int32_t>> entries;
};

// A loader that records what it prepares ("fwd"/"bwd" plus the index) and
// where it asks for the refill ("ready", -1).
std::unique_ptr<TSearchThread> LoggingLoader(TLibrary& lib, TWalkLog& log, bool backward, int32_t start,
                                             std::atomic<int>& done) {
  auto loader = std::make_unique<TSearchThread>();
  const std::string who = backward ? "bwd" : "fwd";
  loader->Prepare = [&lib, &log, who](TAlbum& album) { log.Add(who, lib.IndexOf(album)); };
  loader->OnReady = [&log](TSearchThread&) { log.Add("ready", -1); };
  loader->OnDone = [&done](TSearchThread&) { ++done; };
  loader->Backward = backward;
  loader->StartIndex = start;
  loader->List = &lib.list;
  return loader;
}

void WaitUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < 2000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(condition());
}

}  // namespace

TEST(CoverLoader, EachDirectionAloneWalksItsOrderFromTheStart) {
  for (bool backward : {false, true}) {
    TLibrary lib(10);
    TWalkLog log;
    std::atomic<int> done{0};
    auto loader = LoggingLoader(lib, log, backward, 7, done);
    loader->Start();
    WaitUntil([&] { return loader->Finished(); });
    const std::vector<int32_t> want = backward ? std::vector<int32_t>{6, 5, 4, 3, 2, 1, 0, 9, 8, 7}
                                               : std::vector<int32_t>{7, 8, 9, 0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(log.IndicesOf(backward ? "bwd" : "fwd"), want);
    // The refill is asked for right after album (7 + 4) mod 10 = 1.
    const auto& e = log.entries;
    const auto ready = std::find(e.begin(), e.end(), std::make_pair(std::string("ready"), -1));
    ASSERT_NE(ready, e.end());
    ASSERT_NE(ready, e.begin());
    EXPECT_EQ((ready - 1)->second, 1);
    EXPECT_EQ(std::count(e.begin(), e.end(), *ready), 1);
    EXPECT_EQ(done, 1);
  }
}

TEST(CoverLoader, TwoLoadersShareTheListAndPrepareEveryAlbumOnce) {
  for (int32_t count : {3, 10, 57}) {
    TLibrary lib(count);
    TWalkLog log;
    std::atomic<int> done{0};
    const int32_t start = count == 3 ? 0 : 7 % count;
    auto fwd = LoggingLoader(lib, log, false, start, done);
    auto bwd = LoggingLoader(lib, log, true, start, done);
    fwd->Start();
    bwd->Start();
    WaitUntil([&] { return fwd->Finished() && bwd->Finished(); });
    std::multiset<int32_t> prepared;
    for (const auto& [who, index] : log.entries)
      if (who != "ready") prepared.insert(index);
    EXPECT_EQ(prepared.size(), static_cast<size_t>(count));
    EXPECT_EQ(std::set<int32_t>(prepared.begin(), prepared.end()).size(), static_cast<size_t>(count));
    const auto& e = log.entries;
    const auto ready = std::find(e.begin(), e.end(), std::make_pair(std::string("ready"), -1));
    ASSERT_NE(ready, e.end()) << count;
    EXPECT_EQ(std::count(e.begin(), e.end(), *ready), 1) << count;
    // Whoever claimed album (start + 4) mod n asked, right after preparing it.
    const int32_t readyIndex = (start + 4) % count;
    const auto claimed = std::find_if(e.begin(), e.end(), [&](const auto& x) { return x.first != "ready" && x.second == readyIndex; });
    ASSERT_LT(claimed, ready);
    const auto nextOfClaimer = std::find_if(claimed + 1, e.end(), [&](const auto& x) { return x.first == claimed->first; });
    EXPECT_LT(ready, nextOfClaimer);
    EXPECT_EQ(done, 2);
  }
}

TEST(CoverLoader, AlreadyClaimedAlbumsAreSkippedWithoutAskingForTheRefill) {
  TLibrary lib(6);
  for (int32_t i = 0; i < 6; ++i) lib.list.Items(i)->CoverReady = (i % 2 == 0);
  TWalkLog log;
  std::atomic<int> done{0};
  auto loader = LoggingLoader(lib, log, false, 0, done);  // ready index 4 is claimed
  loader->Start();
  WaitUntil([&] { return loader->Finished(); });
  EXPECT_EQ(log.IndicesOf("fwd"), (std::vector<int32_t>{1, 3, 5}));
  EXPECT_TRUE(log.IndicesOf("ready").empty());
  EXPECT_EQ(done, 1);
}

TEST(CoverLoader, ErrorsOfPreparationAndOfTheRefillRequestAreSwallowed) {
  TLibrary lib(5);
  int prepared = 0, readies = 0;
  std::atomic<int> done{0};
  TSearchThread loader;
  loader.List = &lib.list;
  loader.Prepare = [&](TAlbum&) {
    ++prepared;
    throw std::runtime_error("broken picture");
  };
  loader.OnReady = [&](TSearchThread&) {
    ++readies;
    throw std::runtime_error("refill failed");
  };
  loader.OnDone = [&](TSearchThread&) { ++done; };
  loader.Start();
  WaitUntil([&] { return loader.Finished(); });
  EXPECT_EQ(prepared, 5);
  EXPECT_EQ(readies, 1);
  EXPECT_EQ(done, 1);
}

TEST(CoverLoader, EmptyOrMissingListReportsDoneAtOnce) {
  TOLSaveable empty;
  for (TOLSaveable* list : {&empty, static_cast<TOLSaveable*>(nullptr)}) {
    std::atomic<int> done{0};
    TSearchThread loader;
    loader.List = list;
    loader.OnDone = [&](TSearchThread&) { ++done; };
    loader.Start();
    WaitUntil([&] { return loader.Finished(); });
    EXPECT_EQ(done, 1);
  }
}

TEST(CoverLoader, StoppedLoaderFinishesItsAlbumThenTouchesNothing) {
  TLibrary lib(10);
  std::mutex m;
  std::condition_variable cv;
  bool entered = false, release = false;
  std::atomic<int> prepared{0}, done{0};
  TSearchThread loader;
  loader.List = &lib.list;
  loader.Prepare = [&](TAlbum&) {
    std::unique_lock<std::mutex> lock(m);
    entered = true;
    cv.notify_all();
    cv.wait(lock, [&] { return release; });
    ++prepared;
  };
  loader.OnDone = [&](TSearchThread&) { ++done; };
  loader.Start();
  {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return entered; });
  }
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::lock_guard<std::mutex> lock(m);
    release = true;
    cv.notify_all();
  });
  loader.Stop();  // returns only after the album in hand is done
  EXPECT_EQ(prepared, 1);
  releaser.join();
  EXPECT_TRUE(loader.Finished());
  EXPECT_EQ(done, 0);
  for (int32_t i = 1; i < 10; ++i) EXPECT_FALSE(lib.list.Items(i)->CoverReady) << i;
}

TEST(CoverPreparation, PictureReplacesTheCoverAndBrokenOnesGetTheDefault) {
  const TTempFolder temp;
  const std::string& folder = temp.Path();
  TBitmap32 picture(120, 80);
  picture.Clear(Color32(0, 0, 255));
  SaveJpegFile(picture, folder + "folder.jpg");
  WriteFileBytes(folder + "broken.jpg", {0xFF, 0xD8, 0xFF, 0x00, 0x12});

  TAlbum withPicture;
  withPicture.CoverFile = folder + "folder.jpg";
  PrepareAndHandOverCover(withPicture);
  EXPECT_EQ(withPicture.Cover.Width(), 120);
  EXPECT_EQ(withPicture.Cover.Height(), 80);
  EXPECT_LT(RedOf(withPicture.Cover.GetPixel(60, 40)), 8u);
  EXPECT_GT(BlueOf(withPicture.Cover.GetPixel(60, 40)), 240u);
  EXPECT_LT(BlueOf(withPicture.Cover.GetPixel(0, 40)), 100u);  // bevelled edge

  for (const char* name : {"broken.jpg", "missing.jpg"}) {
    TAlbum noPicture;
    noPicture.CoverFile = folder + name;
    noPicture.Album = "Title";
    PrepareAndHandOverCover(noPicture);
    EXPECT_EQ(noPicture.Cover.Width(), 300) << name;
    EXPECT_EQ(noPicture.Cover.Height(), 300) << name;
  }
}
