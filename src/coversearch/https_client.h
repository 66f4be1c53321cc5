// THttpsClient: blocking HTTPS GETs through the system's TLS (WinHTTP on
// Windows, libcurl elsewhere), with certificates always verified. Follows a
// few redirects but never to plain http, and holds every fetch to the same
// bounds as the HTTP client: one overall deadline, a header count, body caps.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "coversearch/fetch_budget.h"
#include "coversearch/http_response_reader.h"
#include "coversearch/web_get.h"

namespace tavio {

struct THttpsClientOptions {
  int32_t ConnectTimeoutMs = 20000;
  // The longest silence while a response arrives.
  int32_t ReadTimeoutMs = 20000;
  // The whole fetch with all its redirects.
  int32_t DeadlineMs = 60000;
  // Set by another thread to end the fetch under way (and any later one).
  const std::atomic<bool>* Cancelled = nullptr;
  int32_t MaxRedirects = 5;
  // An error response's body is only kept for the error; the rest is dropped.
  size_t MaxErrorBody = 1024 * 1024;
  THttpLimits Limits;
  // Empty: the transport's own.
  std::string UserAgent;
  // A PEM file of the only CA to trust instead of the system's; set by tests
  // alone. Windows always uses the system's store.
  std::string CaFile;
};

// One request and its response, as one transport call gives it.
struct THttpsAnswer {
  int32_t Code = -1;
  std::string StatusLine;
  // The Location header as sent; empty when there was none.
  std::string Location;
  std::string RetryAfter;
  std::vector<uint8_t> Body;
};

class THttpsClient : public TWebGet {
 public:
  explicit THttpsClient(THttpsClientOptions options = {});
  ~THttpsClient() override;
  THttpsClient(const THttpsClient&) = delete;
  THttpsClient& operator=(const THttpsClient&) = delete;

  // Raises EHttpError for anything but an https URL, an error status (with
  // code, status text and the body read), too many redirects, a redirect to
  // anything but https, an untrusted certificate and any failed connection.
  void Get(const std::string& url, std::vector<uint8_t>& out, size_t maxBody) override;

 private:
  struct TTransport;
  // One request without following redirects; a 2xx body passing maxBody
  // raises, an error body is cut at MaxErrorBody.
  THttpsAnswer Exchange(const std::string& url, const TFetchBudget& budget, size_t maxBody);

  THttpsClientOptions options_;
  std::unique_ptr<TTransport> transport_;
};

// The absolute URL a Location header names, read against the URL that
// answered with it (RFC 3986 reference resolution, without dot segments).
std::string ResolveLocation(const std::string& base, const std::string& location);

}  // namespace tavio
