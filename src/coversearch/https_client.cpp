#include "coversearch/https_client.h"

#include <cctype>

#include "coversearch/http_error.h"

namespace tavio {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool IsHttps(const std::string& url) {
  if (url.size() < 8) return false;
  std::string scheme = url.substr(0, 8);
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return scheme == "https://";
}

bool IsRedirectCode(int32_t code) { return code >= 300 && code <= 399 && code != 304; }

// The scheme and authority of an absolute URL ("https://host:port").
std::string Origin(const std::string& url) {
  const size_t authority = url.find("://");
  if (authority == std::string::npos) return url;
  return url.substr(0, url.find_first_of("/?#", authority + 3));
}

[[noreturn]] void Refuse(THttpsAnswer& answer) {
  EHttpError error(answer.Code, StatusTextOf(answer.StatusLine), std::move(answer.Body), answer.StatusLine);
  error.RetryAfter = answer.RetryAfter;
  throw error;
}

}  // namespace

std::string ResolveLocation(const std::string& base, const std::string& location) {
  const size_t colon = location.find(':');
  if (colon != std::string::npos && location.find_first_of("/?#") > colon) return location;
  if (StartsWith(location, "//")) return base.substr(0, base.find(':') + 1) + location;
  if (StartsWith(location, "/")) return Origin(base) + location;
  const std::string withoutFragment = base.substr(0, base.find('#'));
  if (StartsWith(location, "?")) return withoutFragment.substr(0, withoutFragment.find('?')) + location;
  const std::string path = withoutFragment.substr(0, withoutFragment.find('?'));
  const size_t lastSlash = path.rfind('/');
  if (lastSlash == std::string::npos || lastSlash < Origin(base).size()) return Origin(base) + "/" + location;
  return path.substr(0, lastSlash + 1) + location;
}

void THttpsClient::Get(const std::string& url, std::vector<uint8_t>& out, size_t maxBody) {
  if (!IsHttps(url)) throw EHttpError("Not an https URL: " + url);
  const TFetchBudget budget(options_.DeadlineMs, options_.Cancelled);
  std::string target = url;
  for (int32_t redirects = 0;; ++redirects) {
    THttpsAnswer answer = Exchange(target, budget, maxBody);
    if (IsRedirectCode(answer.Code) && !answer.Location.empty()) {
      if (redirects == options_.MaxRedirects)
        throw EHttpError("Too many redirects: more than " + std::to_string(options_.MaxRedirects));
      const std::string next = ResolveLocation(target, answer.Location);
      // A secure search must not hand its next request to a plain connection.
      if (!IsHttps(next)) throw EHttpError("Refused a redirect from HTTPS to " + next);
      target = next;
      continue;
    }
    if (answer.Code < 200 || answer.Code > 299) Refuse(answer);
    out.insert(out.end(), answer.Body.begin(), answer.Body.end());
    return;
  }
}

}  // namespace tavio
