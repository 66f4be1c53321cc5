// The HTTPS client and the cover sources' web client against the scripted
// server behind a TLS front that presents a test CA's "localhost" certificate:
// trust, redirects, the User-Agent and the bounds of a hostile server.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "coversearch/cover_web.h"
#include "coversearch/http_error.h"
#include "coversearch/https_client.h"
#include "library/ol_saveable.h"
#include "raster/jpeg_file.h"
#include "support/command_output.h"
#include "support/local_http_server.h"
#include "support/temp_folder.h"
#include "support/tls_relay.h"

using namespace tavio;
using namespace tavio::test;

namespace {

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The CA and certificates, made once for all the cases.
class HttpsClient : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TTempFolder;
    const auto script = std::filesystem::path(TAVIO_TEST_DATA).parent_path() / "support/make_test_ca.sh";
    ASSERT_EQ(std::system((script.string() + " " + folder_->Path() + "ca").c_str()), 0);
  }
  static void TearDownTestSuite() { delete folder_; }
  static std::string Ca(const std::string& file) { return folder_->Path() + "ca/" + file; }

  // The front with the trusted certificate, before server.
  TTlsRelay Front(const TLocalHttpServer& server) { return {Ca("server.pem"), Ca("server.key"), server.Port()}; }
  THttpsClientOptions Trusting() {
    THttpsClientOptions options;
    options.CaFile = Ca("ca.pem");
    options.ConnectTimeoutMs = 3000;
    return options;
  }
  // The error a fetch raises; fails the test when it succeeds.
  static EHttpError FailureOf(THttpsClient& client, const std::string& url, size_t maxBody = kMaxPageBytes) {
    std::vector<uint8_t> out;
    try {
      client.Get(url, out, maxBody);
    } catch (const EHttpError& e) {
      EXPECT_TRUE(out.empty());
      return e;
    }
    ADD_FAILURE() << "fetch of " << url << " succeeded";
    return EHttpError("");
  }

  static TTempFolder* folder_;
};

TTempFolder* HttpsClient::folder_ = nullptr;

TEST_F(HttpsClient, TrustedCertificateGivesTheBodyAndSendsTheUserAgent) {
  TLocalHttpServer server([](const std::string&, TServerConnection& c) { return c.Send(Reply("200 OK", "cover")); });
  TTlsRelay front = Front(server);
  THttpsClientOptions options = Trusting();
  options.UserAgent = CoverUserAgent("me@example.org");
  THttpsClient client(options);
  std::vector<uint8_t> out = {'>'};
  client.Get(front.Url("/a.jpg"), out, kMaxPictureBytes);
  EXPECT_EQ(Text(out), ">cover");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_NE(server.Requests()[0].Bytes.find("\r\nUser-Agent: vis_Tavio/" TAVIO_TEST_VERSION " ( me@example.org )\r\n"),
            std::string::npos);
}

TEST_F(HttpsClient, CertificateOfAnUntrustedCaFailsWithoutARequest) {
  TLocalHttpServer server([](const std::string&, TServerConnection& c) { return c.Send(Reply("200 OK", "x")); });
  TTlsRelay rogue(Ca("rogue-server.pem"), Ca("rogue-server.key"), server.Port());
  THttpsClient client(Trusting());
  EXPECT_NE(std::string(FailureOf(client, rogue.Url("/")).what()).find("certificate is not trusted"), std::string::npos);
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpsClient, FollowsFiveRedirectsButNotSix) {
  // "/N" redirects to "/N-1" (relative, then absolute); "/0" is the picture.
  TLocalHttpServer server([](const std::string& request, TServerConnection& c) {
    const int n = std::stoi(TargetOf(request).substr(1));
    if (n == 0) return c.Send(Reply("200 OK", "end"));
    const std::string location = n % 2 ? std::to_string(n - 1) : "/" + std::to_string(n - 1);
    return c.Send(Reply("307 Temporary Redirect", "", "Location: " + location + "\r\n"));
  });
  TTlsRelay front = Front(server);
  THttpsClient client(Trusting());
  std::vector<uint8_t> out;
  client.Get(front.Url("/5"), out, kMaxPageBytes);
  EXPECT_EQ(Text(out), "end");
  EXPECT_NE(std::string(FailureOf(client, front.Url("/6")).what()).find("Too many redirects"), std::string::npos);
}

TEST_F(HttpsClient, RedirectToPlainHttpIsRefusedBeforeAnyPlainRequest) {
  TLocalHttpServer plain([](const std::string&, TServerConnection& c) { return c.Send(Reply("200 OK", "leak")); });
  TLocalHttpServer server([&](const std::string&, TServerConnection& c) {
    return c.Send(Reply("302 Found", "", "Location: " + plain.Url("/img") + "\r\n"));
  });
  TTlsRelay front = Front(server);
  THttpsClient client(Trusting());
  EXPECT_NE(std::string(FailureOf(client, front.Url("/front-500")).what()).find("Refused a redirect from HTTPS"),
            std::string::npos);
  EXPECT_TRUE(plain.Requests().empty());
}

TEST_F(HttpsClient, TricklingServerIsCutAtTheOverallDeadline) {
  TLocalHttpServer server([](const std::string&, TServerConnection& c) {
    const std::string head = "HTTP/1.1 200 OK\r\nX-Slow: ";
    for (int i = 0; i < 200; ++i) {
      if (!c.Send(std::string(1, head[i % head.size()]))) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  });
  TTlsRelay front = Front(server);
  THttpsClientOptions options = Trusting();
  options.DeadlineMs = 1500;
  THttpsClient client(options);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(std::string(FailureOf(client, front.Url("/")).what()).find("Timed out"), std::string::npos);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(5000));
}

// curl looks at the flag about once a second while a server is silent.
TEST_F(HttpsClient, CancelEndsAFetchFromASilentServer) {
  TLocalHttpServer server([](const std::string&, TServerConnection& c) {
    c.WaitForClientClose();
    return false;
  });
  TTlsRelay front = Front(server);
  std::atomic<bool> cancelled{false};
  THttpsClientOptions options = Trusting();
  options.Cancelled = &cancelled;
  THttpsClient client(options);
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    cancelled = true;
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_STREQ(FailureOf(client, front.Url("/")).what(), "Cancelled");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
  canceller.join();
}

TEST_F(HttpsClient, BodyPastTheCapFailsWithOrWithoutALength) {
  const std::string big(5000, 'x');
  TLocalHttpServer server([&](const std::string& request, TServerConnection& c) {
    if (TargetOf(request) == "/sized") return c.Send(Reply("200 OK", big));
    c.Send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + big);
    return false;
  });
  TTlsRelay front = Front(server);
  THttpsClient client(Trusting());
  for (const char* path : {"/sized", "/unsized"})
    EXPECT_NE(std::string(FailureOf(client, front.Url(path), 4999).what()).find("exceeds the limit"), std::string::npos)
        << path;
  std::vector<uint8_t> out;
  client.Get(front.Url("/sized"), out, 5000);
  EXPECT_EQ(out.size(), 5000u);
}

TEST_F(HttpsClient, ErrorStatusKeepsCodeRetryAfterAndBodyAndHeaderFloodFails) {
  TLocalHttpServer server([](const std::string& request, TServerConnection& c) {
    if (TargetOf(request) == "/busy")
      return c.Send(Reply("503 Service Unavailable", "later", "Retry-After: 7\r\n"));
    std::string flood = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 300; ++i) flood += "X-" + std::to_string(i) + ": y\r\n";
    return c.Send(flood + "Content-Length: 0\r\n\r\n");
  });
  TTlsRelay front = Front(server);
  THttpsClient client(Trusting());
  const EHttpError busy = FailureOf(client, front.Url("/busy"));
  EXPECT_EQ(busy.Code, 503);
  EXPECT_EQ(busy.StatusText, "Service Unavailable");
  EXPECT_EQ(busy.RetryAfter, "7");
  EXPECT_EQ(Text(busy.Body), "later");
  EXPECT_NE(std::string(FailureOf(client, front.Url("/flood")).what()).find("Too many header lines"),
            std::string::npos);
}

TEST_F(HttpsClient, CoverWebSendsPlainUrlsThroughTheHttpClientAndRefusesOtherSchemes) {
  TLocalHttpServer server([](const std::string&, TServerConnection& c) { return c.Send(Reply("200 OK", "plain")); });
  TCoverWeb web(CoverUserAgent(""), nullptr, Ca("ca.pem"));
  std::vector<uint8_t> out;
  web.Get(server.Url("/x"), out, 100);
  EXPECT_EQ(Text(out), "plain");
  EXPECT_THROW(web.Get("ftp://127.0.0.1/x", out, 100), EHttpError);
}

TEST_F(HttpsClient, CoversCommandStoresTheArchivePictureBehindItsRedirect) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !std::filesystem::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  const std::string id = "0f1e2d3c-0000-4000-8000-00000000abcd";
  TBitmap32 bitmap(8, 8);
  bitmap.Clear(Color32(10, 40, 200));
  const std::string jpeg = Text(EncodeJpeg(bitmap));
  uint16_t frontPort = 0;
  TLocalHttpServer server([&](const std::string& request, TServerConnection& c) {
    const std::string target = TargetOf(request);
    if (target.rfind("/ws/2/release-group/", 0) == 0)
      return c.Send(Reply("200 OK", R"({"release-groups":[{"id":")" + id +
                                        R"(","title":"Northern Lights","artist-credit":[{"name":"Anna Lind"}]}]})"));
    if (target == "/release-group/" + id + "/front-500")
      return c.Send(Reply("307 Temporary Redirect", "",
                          "Location: https://localhost:" + std::to_string(frontPort) + "/img/" + id + ".jpg\r\n"));
    if (target == "/img/" + id + ".jpg") return c.Send(Reply("200 OK", jpeg));
    return c.Send(Reply("404 Not Found", ""));
  });
  TTlsRelay front = Front(server);
  frontPort = front.Port();
  TTempFolder library;
  {
    TOLSaveable albums;
    auto* album = new TAlbum();
    album->Artist = "Anna Lind";
    album->Album = "Northern Lights";
    std::filesystem::create_directories(library.Path() + "Northern Lights");
    album->CoverFile = library.Path() + "Northern Lights/xx.xxx";
    albums.Add(album);
    albums.SaveToFile(library.Path() + "Data.dat");
  }
  const std::string base = front.Url("");
  std::string out;
  EXPECT_EQ(RunCapturingOutput("TAVIO_TEST_CA_FILE=" + Ca("ca.pem") + " " + tool + " covers --source musicbrainz --endpoint " +
                                   base + " --art-endpoint " + base + " " + library.Path() + " 2>&1",
                               out),
            0);
  EXPECT_EQ(out, "Anna Lind - Northern Lights: found\nfound 1, not found 0, failed 0\n");
  EXPECT_EQ(library.Read("Northern Lights/folder.jpg"), jpeg);
}

TEST(ResolveLocation, ReadsEveryFormOfReferenceAgainstTheBase) {
  const std::string base = "https://a.example:8443/dir/page?q=1#f";
  EXPECT_EQ(ResolveLocation(base, "https://b.example/x"), "https://b.example/x");
  EXPECT_EQ(ResolveLocation(base, "http://b.example/x"), "http://b.example/x");
  EXPECT_EQ(ResolveLocation(base, "//c.example/y"), "https://c.example/y");
  EXPECT_EQ(ResolveLocation(base, "/root?z"), "https://a.example:8443/root?z");
  EXPECT_EQ(ResolveLocation(base, "next.jpg"), "https://a.example:8443/dir/next.jpg");
  EXPECT_EQ(ResolveLocation(base, "?p=2"), "https://a.example:8443/dir/page?p=2");
  EXPECT_EQ(ResolveLocation("https://a.example", "x"), "https://a.example/x");
}

TEST(CoverUserAgent, NamesTheVersionAndTheContactOnlyWhenGiven) {
  EXPECT_EQ(CoverUserAgent(""), "vis_Tavio/" TAVIO_TEST_VERSION);
  EXPECT_EQ(CoverUserAgent("a@b.c"), "vis_Tavio/" TAVIO_TEST_VERSION " ( a@b.c )");
}

}  // namespace
