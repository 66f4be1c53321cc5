// The whole image search against a hostile local server, in the plug-in's
// process model: an 8 MB result page of picture links and 20 pictures of
// nearly 32 MB each (a small JPEG padded to the picture cap) behind them. Prints the
// process's peak memory before and after, which must stay within 128 MB in
// the 32-bit build.
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "coversearch/http_client.h"
#include "coversearch/image_search.h"
#include "coversearch/page_search_source.h"
#include "raster/jpeg_file.h"
#include "support/local_http_server.h"

using namespace tavio;
using namespace tavio::test;

namespace {

constexpr size_t kPictureBytes = kMaxPictureBytes - 1024;
constexpr size_t kSlice = 1024 * 1024;

void PrintMemory(const char* when) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  std::printf("%-28s peak private %7.1f MB, peak working set %7.1f MB\n", when,
              counters.PeakPagefileUsage / 1048576.0, counters.PeakWorkingSetSize / 1048576.0);
}

// A page just under the 8 MB cap, nothing but picture links (~300,000).
std::string HostilePage(uint16_t port) {
  std::string page;
  const std::string link = "http://127.0.0.1:" + std::to_string(port) + "/p";
  for (int i = 0; page.size() < kMaxPageBytes - 4096; ++i) page += link + std::to_string(i % 40) + ".jpg ";
  return page;
}

}  // namespace

int main() {
  PrintMemory("at start");
  TBitmap32 small(64, 64);
  small.Clear(Color32(30, 90, 200));
  const std::vector<uint8_t> jpeg = EncodeJpeg(small);
  // The server sends each picture from one shared slice, so it adds ~1 MB.
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kPictureBytes) + "\r\n\r\n";
  const std::string slice(kSlice, '\0');
  std::string page;
  TLocalHttpServer server([&](const std::string& request, TServerConnection& c) {
    if (TargetOf(request).rfind("/images", 0) == 0)
      return c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size()) + "\r\n\r\n" + page);
    if (!c.Send(head) || !c.Send(std::string(jpeg.begin(), jpeg.end()))) return false;
    for (size_t sent = jpeg.size(); sent < kPictureBytes; sent += kSlice)
      if (!c.Send(slice.substr(0, std::min(kSlice, kPictureBytes - sent)))) return false;
    return true;
  });
  page = HostilePage(server.Port());
  PrintMemory("server ready");
  TImageSearch search(
      std::make_unique<TPageSearchSource>(SearchEndpointFor("127.0.0.1:" + std::to_string(server.Port()))));
  THttpClient web;
  const DWORD start = GetTickCount();
  const TSearchResult result = search.Run("", "hostile", web);
  std::printf("search: %d cells filled of %zu links kept in %.1f s%s%s\n", result.Filled, search.Candidates.size(),
              (GetTickCount() - start) / 1000.0, result.PageError.empty() ? "" : "; page: ", result.PageError.c_str());
  PrintMemory("after the search");
  return 0;
}
