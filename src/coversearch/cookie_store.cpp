#include "coversearch/cookie_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

namespace tavio {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Set-Cookie2 quotes its values; Set-Cookie does not, but some servers do.
std::string_view Unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

bool IsIpAddress(const std::string& host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// RFC 6265 5.1.3.
bool DomainMatches(const std::string& host, const std::string& domain) {
  if (host == domain) return true;
  return !IsIpAddress(host) && host.size() > domain.size() &&
         host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
         host[host.size() - domain.size() - 1] == '.';
}

// RFC 6265 5.1.4.
std::string DefaultPath(const std::string& requestPath) {
  if (requestPath.empty() || requestPath[0] != '/') return "/";
  const size_t last = requestPath.rfind('/');
  return last == 0 ? "/" : requestPath.substr(0, last);
}

bool PathMatches(const std::string& requestPath, const std::string& cookiePath) {
  if (requestPath == cookiePath) return true;
  if (requestPath.compare(0, cookiePath.size(), cookiePath) != 0) return false;
  return cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/';
}

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool AllDigits(std::string_view t) {
  return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// 1..12 for a token starting with a month's English abbreviation, else 0.
int MonthOf(std::string_view token) {
  static constexpr std::string_view kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                 "jul", "aug", "sep", "oct", "nov", "dec"};
  if (token.size() < 3) return 0;
  const std::string prefix = Lower(token.substr(0, 3));
  for (int i = 0; i < 12; ++i)
    if (prefix == kMonths[i]) return i + 1;
  return 0;
}

}  // namespace

int64_t ParseCookieDate(const std::string& text) {
  int hour = -1, minute = 0, second = 0, day = -1, month = -1, year = -1;
  std::string token;
  const auto take = [&](std::string_view t) {
    if (t.empty()) return;
    int h, mi, s;
    char extra;
    if (hour < 0 && std::sscanf(std::string(t).c_str(), "%2d:%2d:%2d%c", &h, &mi, &s, &extra) == 3) {
      hour = h, minute = mi, second = s;
    } else if (day < 0 && t.size() <= 2 && AllDigits(t)) {
      day = std::stoi(std::string(t));
    } else if (const int m = MonthOf(t); month < 0 && m > 0) {
      month = m;
    } else if (year < 0 && t.size() >= 2 && t.size() <= 4 && AllDigits(t)) {
      year = std::stoi(std::string(t));
    }
  };
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == ':') {
      token += c;
    } else {
      take(token);
      token.clear();
    }
  }
  take(token);
  if (year >= 70 && year <= 99) year += 1900;
  if (year >= 0 && year <= 69) year += 2000;
  if (hour < 0 || day < 1 || day > 31 || month < 0 || year < 1601 || hour > 23 || minute > 59 || second > 59)
    return -1;
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

void TCookieStore::Take(const std::string& setCookie, const std::string& requestHost, const std::string& requestPath,
                        int64_t now) {
  if (setCookie.size() > kMaxCookieBytes) return;
  std::string_view rest(setCookie);
  const std::string_view pair = rest.substr(0, rest.find(';'));
  const size_t eq = pair.find('=');
  if (eq == std::string_view::npos) return;
  TCookie cookie;
  cookie.Name = std::string(Trimmed(pair.substr(0, eq)));
  cookie.Value = std::string(Unquoted(Trimmed(pair.substr(eq + 1))));
  if (cookie.Name.empty()) return;
  const std::string host = Lower(requestHost);
  cookie.Domain = host;
  cookie.Path = DefaultPath(requestPath);
  bool hasMaxAge = false;
  rest.remove_prefix(std::min(rest.size(), pair.size() + 1));
  while (!rest.empty()) {
    const std::string_view attribute = rest.substr(0, rest.find(';'));
    rest.remove_prefix(std::min(rest.size(), attribute.size() + 1));
    const size_t aeq = attribute.find('=');
    const std::string name = Lower(Trimmed(attribute.substr(0, aeq)));
    const std::string value(aeq == std::string_view::npos ? "" : Unquoted(Trimmed(attribute.substr(aeq + 1))));
    if (name == "domain" && !value.empty()) {
      std::string domain = Lower(value);
      if (domain.front() == '.') domain.erase(0, 1);
      if (domain.empty() || !DomainMatches(host, domain)) return;
      cookie.Domain = domain;
      cookie.HostOnly = false;
    } else if (name == "path" && !value.empty() && value.front() == '/') {
      cookie.Path = value;
    } else if (name == "max-age" && !value.empty()) {
      const bool negative = value.front() == '-';
      const std::string digits = negative ? value.substr(1) : value;
      if (!AllDigits(digits)) continue;
      hasMaxAge = true;
      // Far futures are capped; only "expired or not" matters for such values.
      const int64_t seconds = digits.size() > 10 ? int64_t{9999999999} : std::stoll(digits);
      cookie.Expires = negative || seconds == 0 ? 0 : now + seconds;
    } else if (name == "expires" && !hasMaxAge) {
      if (const int64_t when = ParseCookieDate(value); when >= 0) cookie.Expires = when;
    } else if (name == "secure") {
      cookie.Secure = true;
    }
  }
  const bool expired = cookie.Expires >= 0 && cookie.Expires <= now;
  std::erase_if(cookies_, [&](const TCookie& c) {
    return c.Name == cookie.Name && c.Domain == cookie.Domain && c.Path == cookie.Path;
  });
  if (!expired) Store(std::move(cookie));
}

void TCookieStore::Store(TCookie cookie) {
  const auto sameDomain = [&](const TCookie& c) { return c.Domain == cookie.Domain; };
  if (static_cast<size_t>(std::count_if(cookies_.begin(), cookies_.end(), sameDomain)) >= kMaxCookiesPerDomain)
    cookies_.erase(std::find_if(cookies_.begin(), cookies_.end(), sameDomain));
  if (cookies_.size() >= kMaxCookies) cookies_.erase(cookies_.begin());
  cookies_.push_back(std::move(cookie));
}

std::string TCookieStore::HeaderFor(const std::string& host, const std::string& path, bool secure,
                                    int64_t now) const {
  const std::string lowerHost = Lower(host);
  std::vector<const TCookie*> matching;
  for (const TCookie& c : cookies_) {
    if (c.Expires >= 0 && c.Expires <= now) continue;
    if (c.Secure && !secure) continue;
    if (c.HostOnly ? lowerHost != c.Domain : !DomainMatches(lowerHost, c.Domain)) continue;
    if (!PathMatches(path, c.Path)) continue;
    matching.push_back(&c);
  }
  std::stable_sort(matching.begin(), matching.end(),
                   [](const TCookie* a, const TCookie* b) { return a->Path.size() > b->Path.size(); });
  std::string header;
  for (const TCookie* c : matching) header += (header.empty() ? "" : "; ") + c->Name + "=" + c->Value;
  return header;
}

}  // namespace tavio
