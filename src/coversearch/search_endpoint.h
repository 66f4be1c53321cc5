// TSearchEndpoint: the web image search the dialog asks, and the domain whose
// links are the service's own pages and thumbnails rather than pictures.
#pragma once
#include <string>

namespace tavio {

struct TSearchEndpoint {
  // HOST or HOST:PORT.
  std::string Host;
  // The host's second-level label between dots (".example."); empty for an
  // address or a one-label host, which exclude nothing.
  std::string ExcludedDomain;
};

TSearchEndpoint SearchEndpointFor(const std::string& host);
// The settings store's IMAGEHOST, or its default.
TSearchEndpoint ReadSearchEndpoint();

}  // namespace tavio
