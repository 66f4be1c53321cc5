#include "coversearch/http_client.h"

#include <cctype>
#include <ctime>

#include "coversearch/http_error.h"
#include "coversearch/http_url.h"

namespace tavio {

namespace {

// A server may send any number of 100 Continue heads; more than this is a loop.
constexpr int kMaxInterimResponses = 16;

bool SameText(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return i == a.size() && !b[i];
}

bool IsRedirect(const THttpResponseHead& head) {
  return (head.Code >= 300 && head.Code <= 399 && head.Code != 304) || head.Find("Location");
}

}  // namespace

THttpClient::THttpClient(THttpClientOptions options) : options_(std::move(options)) {
  if (!options_.Now) options_.Now = [] { return static_cast<int64_t>(std::time(nullptr)); };
}

THttpClient::~THttpClient() = default;

void THttpClient::Connect(const std::string& host, uint16_t port) {
  connection_.reset();
  connection_ = std::make_unique<TTcpConnection>(host, port, options_.ConnectTimeoutMs, options_.ReadTimeoutMs,
                                                 budget_);
  connectedHost_ = host;
  connectedPort_ = port;
}

THttpResponseHead THttpClient::ReadFinalHead(THttpResponseReader& reader, const std::string& host,
                                             const std::string& path) {
  for (int interim = 0;; ++interim) {
    THttpResponseHead head = reader.ReadHead();
    for (const auto& [name, value] : head.Headers)
      if (SameText(name, "Set-Cookie") || SameText(name, "Set-Cookie2"))
        cookies_.Take(value, host, path, options_.Now());
    if (head.Code != 100) return head;
    if (interim == kMaxInterimResponses) throw EHttpError("Endless \"100 Continue\" answers");
  }
}

void THttpClient::Refuse(THttpResponseReader& reader, const THttpResponseHead& head) {
  std::vector<uint8_t> body;
  connection_->SetReadTimeout(options_.ErrorBodyReadTimeoutMs);
  bool complete = false;
  try {
    reader.ReadBody(head, body, options_.MaxErrorBody);
    complete = true;
  } catch (const EHttpError&) {
    // The body only adds to the error; what arrived in time is enough.
  }
  connection_->SetReadTimeout(options_.ReadTimeoutMs);
  if (!complete || reader.Closed() || head.AsksToClose()) connection_.reset();
  std::string message = head.StatusLine;
  if (const std::string* location = head.Find("Location")) message += " (redirect to " + *location + ")";
  EHttpError error(head.Code, StatusTextOf(head.StatusLine), std::move(body), message);
  if (const std::string* retryAfter = head.Find("Retry-After")) error.RetryAfter = *retryAfter;
  throw error;
}

// One request and its response on the open connection. False (when mayRetry)
// if a kept connection failed before any byte of an answer: the server
// dropped it while idle, and the request may go again on a new one.
bool THttpClient::Exchange(const std::string& request, const std::string& host, const std::string& path,
                           std::vector<uint8_t>& body, size_t maxBody, bool mayRetry) {
  THttpResponseReader reader(*connection_, options_.Limits);
  bool sent = false;
  try {
    connection_->SendAll(request);
    sent = true;
    const THttpResponseHead head = ReadFinalHead(reader, host, path);
    if (IsRedirect(head) || head.Code < 200 || head.Code > 299) Refuse(reader, head);
    reader.ReadBody(head, body, maxBody);
    if (reader.Closed() || head.AsksToClose()) connection_.reset();
    return true;
  } catch (const EHttpError& e) {
    if (e.Code >= 0) throw;  // a refused response; Refuse has settled the connection
    connection_.reset();
    // Refusing the request or closing at once, not silence, marks a dropped connection.
    if (mayRetry && !reader.Started() && (!sent || reader.Closed())) return false;
    throw;
  }
}

void THttpClient::Get(const std::string& url, std::vector<uint8_t>& out, size_t maxBody) {
  const THttpUrl target = SplitHttpUrl(url);
  budget_ = TFetchBudget(options_.DeadlineMs, options_.Cancelled);
  if (connection_ && (connectedHost_ != target.Host || connectedPort_ != target.Port)) connection_.reset();
  const bool reused = connection_ != nullptr;
  if (!connection_) Connect(target.Host, target.Port);
  const std::string path = target.Path();
  const std::string request = BuildGetRequest(target, cookies_.HeaderFor(target.Host, path, false, options_.Now()));
  std::vector<uint8_t> body;
  if (!Exchange(request, target.Host, path, body, maxBody, reused)) {
    body.clear();
    Connect(target.Host, target.Port);
    Exchange(request, target.Host, path, body, maxBody, false);
  }
  out.insert(out.end(), body.begin(), body.end());
}

}  // namespace tavio
