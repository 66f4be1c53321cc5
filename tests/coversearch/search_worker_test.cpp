// The image search on its worker thread against a server of the test's own:
// progress and cells arrive as news, and Cancel ends a fetch at once.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "coversearch/http_client.h"
#include "coversearch/page_search_source.h"
#include "coversearch/search_worker.h"
#include "raster/jpeg_file.h"
#include "support/local_http_server.h"

using namespace tavio;
using namespace tavio::test;

namespace {

std::unique_ptr<TWebGet> ClientFor(const std::atomic<bool>& cancelled) {
  THttpClientOptions options;
  options.Cancelled = &cancelled;
  return std::make_unique<THttpClient>(options);
}

// All the news until the job has finished.
std::vector<TSearchNews> NewsOfJob(TSearchWorker& worker) {
  std::vector<TSearchNews> all;
  for (int i = 0; i < 500 && worker.Busy(); ++i) {
    for (TSearchNews& n : worker.TakeNews()) all.push_back(std::move(n));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return all;
}

TImageSearch PageSearchAt(int port) {
  return TImageSearch(std::make_unique<TPageSearchSource>(SearchEndpointFor("127.0.0.1:" + std::to_string(port))));
}

std::vector<std::string> StatusLines(const std::vector<TSearchNews>& news) {
  std::vector<std::string> lines;
  for (const TSearchNews& n : news)
    if (n.Kind == TSearchNews::TKind::Status) lines.push_back(n.Text);
  return lines;
}

}  // namespace

TEST(SearchWorker, ReportsProgressAndCellsAndFetchesAChosenCellAgain) {
  TBitmap32 picture(300, 200);
  picture.Clear(Color32(10, 20, 200));
  const std::vector<uint8_t> jpeg = EncodeJpeg(picture);
  std::atomic<int> port{0};
  TLocalHttpServer server([&](const std::string& request, TServerConnection& c) {
    const std::string here = "http://127.0.0.1:" + std::to_string(port.load());
    const std::string body = TargetOf(request) == "/a.jpg" ? std::string(jpeg.begin(), jpeg.end())
                                                            : here + "/a.jpg " + here + "/missing.jpg ";
    const std::string status = TargetOf(request) == "/missing.jpg" ? "404 Not Found" : "200 OK";
    return c.Send("HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
  });
  port = server.Port();
  std::atomic<int> notified{0};
  TImageSearch search = PageSearchAt(server.Port());
  search.Limits.MaxCellBytes = 0;  // every cell gives its data up at once
  TSearchWorker worker(std::move(search), ClientFor, [&] { ++notified; });
  worker.Search("x", "");
  const std::vector<TSearchNews> news = NewsOfJob(worker);
  ASSERT_FALSE(worker.Busy());
  EXPECT_EQ(StatusLines(news), (std::vector<std::string>{"Searching \u2026", "Downloading 1 of 2 \u2026",
                                                          "Downloading 2 of 2 \u2026", "Found 1 picture."}));
  ASSERT_EQ(news[2].Kind, TSearchNews::TKind::CellFilled);
  EXPECT_EQ(news[2].Cell, 0);
  EXPECT_EQ(news[2].Info, "(300 x 200) (good)");
  EXPECT_GE(notified.load(), 6);

  worker.Choose(0);
  const std::vector<TSearchNews> chosen = NewsOfJob(worker);
  ASSERT_EQ(chosen.front().Kind, TSearchNews::TKind::Chosen);
  EXPECT_EQ(chosen.front().Picture.Jpeg, jpeg);
  worker.Choose(1);
  EXPECT_EQ(NewsOfJob(worker).front().Kind, TSearchNews::TKind::NotChosen) << "cell 1 was never filled";
}

TEST(SearchWorker, CancelEndsASearchStuckOnASilentServerWithinASecond) {
  TLocalHttpServer silent([](const std::string&, TServerConnection& c) {
    c.WaitForClientClose();
    return false;
  });
  TSearchWorker worker(PageSearchAt(silent.Port()), ClientFor, [] {});
  worker.Search("x", "");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto begun = std::chrono::steady_clock::now();
  worker.Cancel();
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count(), 1.0);
  const std::vector<std::string> lines = StatusLines(NewsOfJob(worker));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Cancelled; found 0 pictures.");
  EXPECT_FALSE(worker.Busy());
}
