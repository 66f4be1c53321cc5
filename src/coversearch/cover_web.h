// TCoverWeb: the web client the cover sources fetch through, and how the
// plug-in introduces itself to their services (CoverUserAgent).
#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "coversearch/http_client.h"
#include "coversearch/https_client.h"

namespace tavio {

// "vis_Tavio/VERSION ( CONTACT )", or "vis_Tavio/VERSION" without a contact.
std::string CoverUserAgent(const std::string& contact);

// https URLs through THttpsClient, http ones through the plain client (which
// follows no redirects); both end their fetch when cancelled is set.
class TCoverWeb : public TWebGet {
 public:
  TCoverWeb(const std::string& userAgent, const std::atomic<bool>* cancelled, std::string caFile = "");
  void Get(const std::string& url, std::vector<uint8_t>& out, size_t maxBody) override;

 private:
  THttpClient plain_;
  THttpsClient secure_;
};

}  // namespace tavio
