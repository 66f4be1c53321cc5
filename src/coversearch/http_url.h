// THttpUrl: an absolute http URL split into what the request needs (host,
// port, request target), and the request bytes that go out for it.
#pragma once
#include <cstdint>
#include <string>

namespace tavio {

struct THttpUrl {
  std::string Host;
  uint16_t Port = 80;
  // From the "/" that ends the authority; "/" when there is none.
  std::string Target;
  std::string User;
  std::string Password;

  // The Host header's value: the port only when it is not 80.
  std::string HostHeader() const;
  // The target without its query, for cookie paths.
  std::string Path() const;
};

// Raises EHttpError for anything but an absolute http URL with a host (https
// is refused: there is no secure transport), for a bad port, and for a
// target holding line breaks or NUL, which would forge request lines.
THttpUrl SplitHttpUrl(const std::string& url);

// The GET request as it goes on the wire; cookieHeader is left out when empty.
std::string BuildGetRequest(const THttpUrl& url, const std::string& cookieHeader);

}  // namespace tavio
