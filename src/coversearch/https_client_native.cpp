// libcurl as the HTTPS transport of the tool and the native tests. Each fetch
// gets curl's own total timeout from the budget, and the callbacks enforce
// the cancel flag, the header count and the body caps as the bytes arrive.
#include <curl/curl.h>

#include <cctype>
#include <mutex>

#include "coversearch/http_error.h"
#include "coversearch/https_client.h"

namespace tavio {

namespace {

// What one transfer collects, and why the callbacks stopped it.
struct TTransfer {
  const THttpsClientOptions& Options;
  size_t MaxBody;
  THttpsAnswer Answer;
  size_t HeaderLines = 0;
  std::string StopReason;
  bool ErrorBodyCut = false;
};

std::string Trimmed(const char* data, size_t size) {
  size_t begin = 0, end = size;
  while (begin < end && std::isspace(static_cast<unsigned char>(data[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(data[end - 1]))) --end;
  return std::string(data + begin, end - begin);
}

// The value of "Name: value" when the line has that name (case ignored).
bool HeaderValue(const std::string& line, const char* name, std::string& value) {
  const size_t length = std::char_traits<char>::length(name);
  if (line.size() <= length || line[length] != ':') return false;
  for (size_t i = 0; i < length; ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != std::tolower(static_cast<unsigned char>(name[i])))
      return false;
  value = Trimmed(line.data() + length + 1, line.size() - length - 1);
  return true;
}

size_t OnHeader(char* data, size_t, size_t size, void* context) {
  auto& transfer = *static_cast<TTransfer*>(context);
  // Every line counts, those of interim (1xx) responses too.
  if (++transfer.HeaderLines > transfer.Options.Limits.MaxHeaders) {
    transfer.StopReason = "Too many header lines in the response";
    return 0;
  }
  const std::string line = Trimmed(data, size);
  THttpsAnswer& answer = transfer.Answer;
  if (line.rfind("HTTP/", 0) == 0) {
    // A new response (after a 1xx) starts afresh.
    answer = THttpsAnswer{};
    answer.StatusLine = line;
    const size_t blank = line.find(' ');
    answer.Code = blank == std::string::npos ? -1 : std::atoi(line.c_str() + blank + 1);
  } else {
    HeaderValue(line, "Location", answer.Location);
    HeaderValue(line, "Retry-After", answer.RetryAfter);
  }
  return size;
}

size_t OnBody(char* data, size_t, size_t size, void* context) {
  auto& transfer = *static_cast<TTransfer*>(context);
  std::vector<uint8_t>& body = transfer.Answer.Body;
  const bool success = transfer.Answer.Code >= 200 && transfer.Answer.Code <= 299;
  const size_t cap = success ? transfer.MaxBody : transfer.Options.MaxErrorBody;
  if (PassesCap(body.size(), size, cap)) {
    if (success) {
      transfer.StopReason = "Response body exceeds the limit of " + std::to_string(cap) + " bytes";
      return 0;
    }
    // An error's body only adds to its message: keep what fits, end there.
    body.insert(body.end(), data, data + (cap - body.size()));
    transfer.ErrorBodyCut = true;
    return 0;
  }
  body.insert(body.end(), data, data + size);
  return size;
}

int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* cancelled = static_cast<const std::atomic<bool>*>(context);
  return cancelled && cancelled->load() ? 1 : 0;
}

std::string FailureText(CURLcode code, const char* detail, const std::string& url) {
  const std::string why = *detail ? detail : curl_easy_strerror(code);
  switch (code) {
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
      return "The server's certificate is not trusted (" + why + ")";
    case CURLE_OPERATION_TIMEDOUT:
      return "Timed out: the server took too long to answer";
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
      return "No connection to " + url + " (" + why + ")";
    default:
      return "The secure connection failed (" + why + ")";
  }
}

}  // namespace

struct THttpsClient::TTransport {
  TTransport() {
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    Handle = curl_easy_init();
    if (!Handle) throw EHttpError("The secure transport could not be started");
  }
  ~TTransport() { curl_easy_cleanup(Handle); }
  // Kept from one fetch to the next, so is its connection.
  CURL* Handle;
};

THttpsClient::THttpsClient(THttpsClientOptions options)
    : options_(std::move(options)), transport_(std::make_unique<TTransport>()) {}

THttpsClient::~THttpsClient() = default;

THttpsAnswer THttpsClient::Exchange(const std::string& url, const TFetchBudget& budget, size_t maxBody) {
  CURL* curl = transport_->Handle;
  curl_easy_reset(curl);
  TTransfer transfer{options_, maxBody, {}, 0, {}, false};
  char detail[CURL_ERROR_SIZE] = "";
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!options_.CaFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, options_.CaFile.c_str());
  if (!options_.UserAgent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, options_.UserAgent.c_str());
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(budget.LeftMs(options_.ConnectTimeoutMs)));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(budget.LeftMs(options_.DeadlineMs)));
  // Silence: less than one byte a second for the read timeout.
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>((options_.ReadTimeoutMs + 999) / 1000));
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(options_.Cancelled));
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, detail);
  const CURLcode result = curl_easy_perform(curl);
  if (result == CURLE_OK || transfer.ErrorBodyCut) return std::move(transfer.Answer);
  budget.Check();
  if (!transfer.StopReason.empty()) throw EHttpError(transfer.StopReason);
  throw EHttpError(FailureText(result, detail, url));
}

}  // namespace tavio
