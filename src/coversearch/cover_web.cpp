#include "coversearch/cover_web.h"


namespace tavio {

namespace {

THttpClientOptions PlainOptions(const std::atomic<bool>* cancelled) {
  THttpClientOptions options;
  options.Cancelled = cancelled;
  return options;
}

THttpsClientOptions SecureOptions(const std::string& userAgent, const std::atomic<bool>* cancelled,
                                  std::string caFile) {
  THttpsClientOptions options;
  options.UserAgent = userAgent;
  options.Cancelled = cancelled;
  options.CaFile = std::move(caFile);
  return options;
}

bool IsPlainHttp(const std::string& url) { return url.rfind("http://", 0) == 0 || url.rfind("HTTP://", 0) == 0; }

}  // namespace

std::string CoverUserAgent(const std::string& contact) {
  const std::string product = std::string("vis_Tavio/") + TAVIO_VERSION;
  return contact.empty() ? product : product + " ( " + contact + " )";
}

TCoverWeb::TCoverWeb(const std::string& userAgent, const std::atomic<bool>* cancelled, std::string caFile)
    : plain_(PlainOptions(cancelled)), secure_(SecureOptions(userAgent, cancelled, std::move(caFile))) {}

void TCoverWeb::Get(const std::string& url, std::vector<uint8_t>& out, size_t maxBody) {
  if (IsPlainHttp(url))
    plain_.Get(url, out, maxBody);
  else
    secure_.Get(url, out, maxBody);
}

}  // namespace tavio
