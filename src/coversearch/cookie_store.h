// TCookieStore: the cookies one HTTP client was given and sends back. Domain
// and path matching follow RFC 6265, which makes the older cookie RFCs
// precise; the store is bounded so a server cannot make it grow for ever.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavio {

struct TCookie {
  std::string Name;
  std::string Value;
  // Lower case, without a leading dot.
  std::string Domain;
  // No Domain attribute: sent to exactly the host that set it.
  bool HostOnly = true;
  std::string Path;
  // Seconds since 1970; -1 for a cookie that lasts as long as the client.
  int64_t Expires = -1;
  bool Secure = false;
};

class TCookieStore {
 public:
  static constexpr size_t kMaxCookies = 300;
  static constexpr size_t kMaxCookiesPerDomain = 50;
  static constexpr size_t kMaxCookieBytes = 4096;

  // Takes one Set-Cookie or Set-Cookie2 value from a response for
  // requestHost and requestPath; a value that does not parse, or names a
  // domain the host may not set, is ignored. An expired cookie deletes its
  // namesake.
  void Take(const std::string& setCookie, const std::string& requestHost, const std::string& requestPath,
            int64_t now);
  // The Cookie header's value for a request ("a=1; b=2"), longer paths
  // first; empty when no cookie matches.
  std::string HeaderFor(const std::string& host, const std::string& path, bool secure, int64_t now) const;
  size_t Count() const { return cookies_.size(); }

 private:
  void Store(TCookie cookie);

  // In the order they were set; the oldest give way when the store is full.
  std::vector<TCookie> cookies_;
};

// An HTTP date in any of the forms RFC 6265 accepts; -1 when it is none.
int64_t ParseCookieDate(const std::string& text);

}  // namespace tavio
