// The HTTP client against a scripted server on 127.0.0.1: request bytes,
// status handling, bodies, connection reuse, cookies and the bounds that
// keep a hostile or silent server from freezing or flooding the caller.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "coversearch/http_client.h"
#include "coversearch/http_error.h"
#include "coversearch/http_url.h"
#include "support/local_http_server.h"
#include "support/temp_folder.h"

using namespace tavio;
using namespace tavio::test;

namespace {

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Answers every request with the same bytes, keeping the connection.
TAnswer Always(const std::string& response, bool keepOpen = true) {
  return [=](const std::string&, TServerConnection& c) { return c.Send(response) && keepOpen; };
}

THttpClientOptions ShortWaits() {
  THttpClientOptions o;
  o.ConnectTimeoutMs = 2000;
  o.ReadTimeoutMs = 300;
  o.ErrorBodyReadTimeoutMs = 300;
  return o;
}

// Sends text, then one more byte every 50 ms for as long as the client listens.
TAnswer Trickle(const std::string& text) {
  return [=](const std::string&, TServerConnection& c) {
    if (!c.Send(text)) return false;
    while (c.Send("x")) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return false;
  };
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(HttpRequest, GoesOutInOrderWithHostPortOnlyWhenNot80) {
  EXPECT_EQ(BuildGetRequest(SplitHttpUrl("http://h:81/a/b.jpg"), ""),
            "GET /a/b.jpg HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: h:81\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
            "\r\n");
  for (const char* url : {"http://h/a/b.jpg", "http://h:80/a/b.jpg", "HTTP://user:pw@h/a/b.jpg#top"}) {
    const THttpUrl u = SplitHttpUrl(url);
    EXPECT_EQ(u.HostHeader(), "h") << url;
    EXPECT_EQ(u.Target, "/a/b.jpg") << url;
  }
  EXPECT_EQ(SplitHttpUrl("http://h").Target, "/");
  // Nothing is encoded; a "#" after the query belongs to the query.
  EXPECT_EQ(SplitHttpUrl("http://h/images?q=a+b&start=20#x").Target, "/images?q=a+b&start=20#x");
  EXPECT_EQ(BuildGetRequest(SplitHttpUrl("http://h/"), "a=1; b=2").find("Cookie: a=1; b=2\r\n\r\n") !=
                std::string::npos,
            true);
}

TEST(HttpRequest, RefusesHttpsOtherSchemesAndForgedLines) {
  for (const char* url : {"https://h/a.jpg", "ftp://h/a.jpg", "h/a.jpg", "http:///a.jpg", "http://h:0/",
                          "http://h:99999/", "http://h/a\r\nX-Evil: 1"})
    EXPECT_THROW(SplitHttpUrl(url), EHttpError) << url;
  THttpClient client;
  std::vector<uint8_t> out;
  try {
    client.Get("https://127.0.0.1/", out, 100);
    FAIL() << "https was fetched";
  } catch (const EHttpError& e) {
    EXPECT_NE(std::string(e.what()).find("https"), std::string::npos);
  }
}

TEST(HttpClient, ErrorStatusesFailAfterReadingTheBodyAndWriteNothing) {
  TLocalHttpServer redirect(Always("HTTP/1.1 302 Found\r\nLocation: http://elsewhere/\r\nContent-Length: 0\r\n\r\n"));
  TLocalHttpServer missing(Always("HTTP/1.1 404 Not Found\r\nContent-Length: 13\r\n\r\n<h1>gone</h1>"));
  THttpClient client(ShortWaits());
  std::vector<uint8_t> out{'x'};
  try {
    client.Get(redirect.Url("/a.jpg"), out, 1000);
    FAIL() << "a redirect was accepted";
  } catch (const EHttpError& e) {
    EXPECT_EQ(e.Code, 302);
    EXPECT_EQ(e.StatusText, "Found");
  }
  try {
    client.Get(missing.Url("/a.jpg"), out, 1000);
    FAIL() << "a 404 was accepted";
  } catch (const EHttpError& e) {
    EXPECT_EQ(e.Code, 404);
    EXPECT_EQ(e.StatusText, "Not Found");
    EXPECT_EQ(Text(e.Body), "<h1>gone</h1>");
  }
  EXPECT_EQ(Text(out), "x");
  EXPECT_EQ(redirect.Requests().size(), 1u) << "a redirect must not be followed";
}

TEST(HttpClient, ReadsEachBodyFraming) {
  struct Case {
    const char* name;
    std::string response;
    std::string body;
  } cases[] = {
      {"read to close", "HTTP/1.1 200 OK\r\n\r\nall of it", "all of it"},
      {"content length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", "hello"},
      {"content length 0", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
      {"204", "HTTP/1.1 204 No Content\r\n\r\n", ""},
      {"100 continue first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "ok"},
      {"chunked",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
       "4;ext=1\r\nWiki\r\n"  // size with an extension
       "0B\r\npedia in ch\r\n"
       "0\r\nX-Trailer: 1\r\n\r\n",
       "Wikipedia in ch"},
      {"close before the length", "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\nshort", "short"},
  };
  for (const Case& c : cases) {
    TLocalHttpServer server(Always(c.response, false));
    THttpClient client(ShortWaits());
    std::vector<uint8_t> out;
    client.Get(server.Url("/"), out, 1000);
    EXPECT_EQ(Text(out), c.body) << c.name;
  }
}

TEST(HttpClient, KeepsTheConnectionForTheSameHostAndPortOnly) {
  const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  TLocalHttpServer first(Always(ok)), second(Always(ok));
  TLocalHttpServer closing(Always("HTTP/1.1 200 OK\r\nConnection:  Close \r\nContent-Length: 2\r\n\r\nok"));
  THttpClient client(ShortWaits());
  std::vector<uint8_t> out;
  client.Get(first.Url("/1"), out, 100);
  client.Get(first.Url("/2"), out, 100);
  EXPECT_EQ(first.Connections(), 1);
  client.Get(second.Url("/3"), out, 100);
  client.Get(first.Url("/4"), out, 100);
  EXPECT_EQ(first.Connections(), 2);
  EXPECT_EQ(second.Connections(), 1);
  client.Get(closing.Url("/5"), out, 100);
  client.Get(closing.Url("/6"), out, 100);
  EXPECT_EQ(closing.Connections(), 2) << "Connection: close must end the connection";
  EXPECT_EQ(Text(out), "okokokokokok");
}

TEST(HttpClient, RetriesOnceWhenAKeptConnectionWasDroppedWhileIdle) {
  // Says keep-alive but hangs up after every answer.
  TLocalHttpServer server(Always("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", false));
  THttpClient client(ShortWaits());
  std::vector<uint8_t> out;
  client.Get(server.Url("/1"), out, 100);
  client.Get(server.Url("/2"), out, 100);
  EXPECT_EQ(Text(out), "okok");
}

TEST(HttpClient, SendsCookiesBackToTheSiteButNotFromAnotherClient) {
  TLocalHttpServer server([](const std::string& request, TServerConnection& c) {
    const bool first = TargetOf(request) == "/first";
    return c.Send(std::string("HTTP/1.1 200 OK\r\n") +
                  (first ? "set-cookie: sid=42; Path=/\r\nSet-Cookie2: v=\"7\"; Version=1\r\n" : "") +
                  "Content-Length: 0\r\n\r\n");
  });
  std::vector<uint8_t> out;
  {
    THttpClient client(ShortWaits());
    client.Get(server.Url("/first"), out, 100);
    client.Get(server.Url("/images?q=x"), out, 100);
  }  // the server serves one connection at a time
  THttpClient fresh(ShortWaits());
  fresh.Get(server.Url("/images?q=y"), out, 100);
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Bytes.find("Cookie:"), std::string::npos);
  EXPECT_NE(requests[1].Bytes.find("\r\nCookie: sid=42; v=7\r\n"), std::string::npos) << requests[1].Bytes;
  EXPECT_EQ(requests[2].Bytes.find("Cookie:"), std::string::npos);
}

TEST(HttpClient, BoundsStopSilentEndlessAndOverlongAnswers) {
  TLocalHttpServer silent([](const std::string&, TServerConnection& c) {
    c.WaitForClientClose();
    return false;
  });
  TLocalHttpServer endlessBody([](const std::string&, TServerConnection& c) {
    if (!c.Send("HTTP/1.1 200 OK\r\n\r\n")) return false;
    const std::string block(65536, 'b');
    while (c.Send(block)) {
    }
    return false;
  });
  TLocalHttpServer endlessHeader([](const std::string&, TServerConnection& c) {
    if (!c.Send("HTTP/1.1 200 OK\r\nX-Long: ")) return false;
    const std::string block(65536, 'h');
    while (c.Send(block)) {
    }
    return false;
  });
  TLocalHttpServer hugeLength(Always("HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n"));
  for (const TLocalHttpServer* server : {&silent, &endlessBody, &endlessHeader, &hugeLength}) {
    THttpClient client(ShortWaits());
    std::vector<uint8_t> out;
    EXPECT_THROW(client.Get(server->Url("/"), out, 1024 * 1024), EHttpError) << server->Port();
    EXPECT_TRUE(out.empty());
    // The client is still usable afterwards.
    EXPECT_THROW(client.Get("https://x/", out, 10), EHttpError);
  }
}

// An empty body once reached fwrite with a null buffer, which the sanitizer
// build stops at.
TEST(FetchCommand, EmptyBodiesMakeEmptyFiles) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !std::filesystem::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  TLocalHttpServer server([](const std::string& request, TServerConnection& c) {
    return c.Send(TargetOf(request) == "/none" ? "HTTP/1.1 204 No Content\r\n\r\n"
                                               : "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
  });
  test::TTempFolder folder;
  for (const char* path : {"/none", "/zero"}) {
    const std::string out = folder.Path() + (path + 1);
    const std::string command = std::string(tool) + " fetch " + server.Url(path) + " '" + out + "' 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 0) << path;
    EXPECT_TRUE(folder.Exists(path + 1)) << path;
    EXPECT_EQ(folder.Read(path + 1), "") << path;
  }
}

TEST(HttpClient, TricklingServerCannotHoldAFetchPastItsDeadline) {
  const char* trickles[] = {
      "HTTP/1.1 200 O",                                           // the status line
      "HTTP/1.1 200 OK\r\nX-A: ",                                 // a header
      "HTTP/1.1 200 OK\r\n\r\n",                                  // a body up to the close
      "HTTP/1.1 404 Not Found\r\n\r\n",                           // an error's body
  };
  for (const char* start : trickles) {
    TLocalHttpServer server(Trickle(start));
    THttpClientOptions options = ShortWaits();
    options.ReadTimeoutMs = 5000;  // each byte comes well within it
    options.ErrorBodyReadTimeoutMs = 5000;
    options.DeadlineMs = 800;
    THttpClient client(options);
    std::vector<uint8_t> out;
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_THROW(client.Get(server.Url("/"), out, 1024 * 1024), EHttpError) << start;
    EXPECT_LT(SecondsSince(begun), 4.0) << start;
    EXPECT_TRUE(out.empty());
  }
}

TEST(HttpClient, EndlessContinueAnswersAreRefused) {
  TLocalHttpServer server([](const std::string&, TServerConnection& c) {
    while (c.Send("HTTP/1.1 100 Continue\r\n\r\n")) {
    }
    return false;
  });
  THttpClient client(ShortWaits());
  std::vector<uint8_t> out;
  try {
    client.Get(server.Url("/"), out, 100);
    FAIL() << "endless 100 Continue was accepted";
  } catch (const EHttpError& e) {
    EXPECT_NE(std::string(e.what()).find("100 Continue"), std::string::npos) << e.what();
  }
}

TEST(HttpClient, CancelEndsAFetchFromASilentServerAtOnce) {
  TLocalHttpServer silent([](const std::string&, TServerConnection& c) {
    c.WaitForClientClose();
    return false;
  });
  std::atomic<bool> cancelled{false};
  THttpClientOptions options;
  options.Cancelled = &cancelled;
  THttpClient client(options);
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    cancelled = true;
  });
  std::vector<uint8_t> out;
  const auto begun = std::chrono::steady_clock::now();
  EXPECT_THROW(client.Get(silent.Url("/"), out, 100), EHttpError);
  canceller.join();
  EXPECT_LT(SecondsSince(begun), 1.3);
}
