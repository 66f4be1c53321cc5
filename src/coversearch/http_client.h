// THttpClient: blocking HTTP/1.1 GETs that keep their connection and cookies
// from one request to the next. No redirects, no credentials, no proxy, and
// every fetch is bounded as a whole, so neither a silent nor a trickling
// server can freeze the caller.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "coversearch/cookie_store.h"
#include "coversearch/http_response_reader.h"
#include "coversearch/tcp_connection.h"
#include "coversearch/web_get.h"

namespace tavio {

struct THttpClientOptions {
  int32_t ConnectTimeoutMs = 20000;
  int32_t ReadTimeoutMs = 20000;
  // The whole fetch, from connecting to the body's last byte.
  int32_t DeadlineMs = 60000;
  // Set by another thread to end the fetch under way (and any later one).
  const std::atomic<bool>* Cancelled = nullptr;
  // Each read of an error response's body, which is only kept for the error.
  int32_t ErrorBodyReadTimeoutMs = 2000;
  size_t MaxErrorBody = 1024 * 1024;
  THttpLimits Limits;
  // Seconds since 1970, for cookie expiry.
  std::function<int64_t()> Now;
};

class THttpClient : public TWebGet {
 public:
  explicit THttpClient(THttpClientOptions options = {});
  ~THttpClient() override;

  // Raises EHttpError for an error status or a redirect (with code, status
  // text and the body read), and for any failure of the connection. The
  // client stays usable after an error.
  void Get(const std::string& url, std::vector<uint8_t>& out, size_t maxBody) override;
  const TCookieStore& Cookies() const { return cookies_; }

 private:
  void Connect(const std::string& host, uint16_t port);
  THttpResponseHead ReadFinalHead(THttpResponseReader& reader, const std::string& host, const std::string& path);
  [[noreturn]] void Refuse(THttpResponseReader& reader, const THttpResponseHead& head);
  bool Exchange(const std::string& request, const std::string& host, const std::string& path,
                std::vector<uint8_t>& body, size_t maxBody, bool mayRetry);

  THttpClientOptions options_;
  // The fetch under way; the connection waits within it.
  TFetchBudget budget_;
  std::unique_ptr<TTcpConnection> connection_;
  std::string connectedHost_;
  uint16_t connectedPort_ = 0;
  TCookieStore cookies_;
};

}  // namespace tavio
