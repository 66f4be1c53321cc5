#include "coversearch/search_endpoint.h"

#include <algorithm>

#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavio {

TSearchEndpoint SearchEndpointFor(const std::string& host) {
  TSearchEndpoint out{host, ""};
  const std::string name = host.substr(0, host.find(':'));
  const bool address = std::all_of(name.begin(), name.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
  const size_t last = name.rfind('.');
  if (address || last == std::string::npos || last == 0) return out;
  const size_t before = name.rfind('.', last - 1);
  const size_t start = before == std::string::npos ? 0 : before + 1;
  out.ExcludedDomain = "." + name.substr(start, last - start) + ".";
  return out;
}

TSearchEndpoint ReadSearchEndpoint() {
  const std::string host = OpenSettingsStore()->ReadString(settings::kSettings, settings::kImageSearchHost,
                                                           settings::kDefaultImageSearchHost);
  return SearchEndpointFor(host.empty() ? std::string(settings::kDefaultImageSearchHost) : host);
}

}  // namespace tavio
