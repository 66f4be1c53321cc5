// WinHTTP as the HTTPS transport under Wine, against the native TLS front
// that tools/wine-test.sh starts (tls_relay): the test CA is trusted through
// the user's Root store, the front relays to this process's scripted server.
#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "coversearch/cover_web.h"
#include "coversearch/http_error.h"
#include "coversearch/https_client.h"
#include "raster/file_bytes.h"
#include "support/local_http_server.h"

using namespace tavio;
using namespace tavio::test;

namespace {

// "/N" redirects to "/N-1" and "/0" answers; the other paths are the hostile cases.
bool Answer(const std::string& request, TServerConnection& c) {
  const std::string target = TargetOf(request);
  if (target == "/to-http") return c.Send(Reply("307 Temporary Redirect", "", "Location: http://127.0.0.1:9/x\r\n"));
  if (target == "/big") return c.Send(Reply("200 OK", std::string(5000, 'x')));
  if (target == "/drip") {
    const std::string head = "HTTP/1.1 200 OK\r\nX-Slow: ";
    for (int i = 0; i < 40; ++i) {
      if (!c.Send(std::string(1, head[i % head.size()]))) return false;
      Sleep(100);
    }
    return false;
  }
  const int n = std::atoi(target.c_str() + 1);
  if (n == 0) return c.Send(Reply("200 OK", "end"));
  return c.Send(Reply("302 Found", "", "Location: /" + std::to_string(n - 1) + "\r\n"));
}

// The CA's PEM file into the current user's Root store, which WinHTTP's
// certificate check consults; Wine asks nothing.
bool TrustTestCa(const std::string& pemFile) {
  const std::vector<uint8_t> pem = ReadFileBytes(pemFile);
  DWORD size = 0;
  const auto* text = reinterpret_cast<const char*>(pem.data());
  if (!CryptStringToBinaryA(text, static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                            nullptr))
    return false;
  std::vector<BYTE> der(size);
  CryptStringToBinaryA(text, static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                       nullptr);
  const HCERTSTORE root = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
  if (!root) return false;
  const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(), size,
                                                      CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  CertCloseStore(root, 0);
  return added;
}

class HttpsClientWine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* ports = std::getenv("TAVIO_TLS_PORTS");
    const char* ca = std::getenv("TAVIO_TLS_CA");
    unsigned backend = 0;
    if (!ports || !ca || std::sscanf(ports, "%u %u %u", &backend, &trusted_, &rogue_) != 3) return;
    ASSERT_TRUE(TrustTestCa(ca));
    server_ = new TLocalHttpServer(Answer, static_cast<uint16_t>(backend));
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (!server_) GTEST_SKIP() << "no TLS front: run through tools/wine-test.sh";
  }
  static std::string Url(unsigned port, const std::string& path) {
    return "https://localhost:" + std::to_string(port) + path;
  }
  static std::string FailureOf(THttpsClient& client, const std::string& url, size_t maxBody = kMaxPageBytes) {
    std::vector<uint8_t> out;
    try {
      client.Get(url, out, maxBody);
    } catch (const EHttpError& e) {
      EXPECT_TRUE(out.empty());
      return e.what();
    }
    return "succeeded";
  }

  static TLocalHttpServer* server_;
  static unsigned trusted_, rogue_;
};

TLocalHttpServer* HttpsClientWine::server_ = nullptr;
unsigned HttpsClientWine::trusted_ = 0;
unsigned HttpsClientWine::rogue_ = 0;

TEST_F(HttpsClientWine, TrustedFetchFollowsFiveRedirectsAndSendsTheUserAgent_Wine) {
  THttpsClientOptions options;
  options.UserAgent = CoverUserAgent("me@example.org");
  THttpsClient client(options);
  std::vector<uint8_t> out;
  client.Get(Url(trusted_, "/5"), out, kMaxPageBytes);
  EXPECT_EQ(std::string(out.begin(), out.end()), "end");
  const std::string request = server_->Requests().back().Bytes;
  EXPECT_NE(request.find("User-Agent: vis_Tavio/"), std::string::npos) << request;
  EXPECT_NE(FailureOf(client, Url(trusted_, "/6")).find("Too many redirects"), std::string::npos);
}

TEST_F(HttpsClientWine, UntrustedCertificateFailsClearly_Wine) {
  THttpsClient client;
  EXPECT_NE(FailureOf(client, Url(rogue_, "/0")).find("certificate is not trusted"), std::string::npos);
}

TEST_F(HttpsClientWine, RedirectToPlainHttpIsRefused_Wine) {
  THttpsClient client;
  EXPECT_NE(FailureOf(client, Url(trusted_, "/to-http")).find("Refused a redirect from HTTPS"), std::string::npos);
}

TEST_F(HttpsClientWine, BodyPastTheCapFails_Wine) {
  THttpsClient client;
  EXPECT_NE(FailureOf(client, Url(trusted_, "/big"), 4999).find("exceeds the limit"), std::string::npos);
}

TEST_F(HttpsClientWine, WatchdogEndsATricklingFetchAtTheDeadline_Wine) {
  THttpsClientOptions options;
  options.DeadlineMs = 1500;
  THttpsClient client(options);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_NE(FailureOf(client, Url(trusted_, "/drip")).find("Timed out"), std::string::npos);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3500));
}

}  // namespace
