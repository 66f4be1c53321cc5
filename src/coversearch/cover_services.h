// TCoverServices: where the cover sources' services are (the real ones unless
// the settings say otherwise) and how the plug-in introduces itself to them;
// TCoverWeb: the web client those sources fetch through.
#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "coversearch/cover_source.h"
#include "coversearch/http_client.h"
#include "coversearch/https_client.h"

namespace tavio {

struct TCoverServices {
  // Base URLs without a trailing "/"; http:// is allowed (local test servers).
  std::string ItunesUrl;
  std::string MusicBrainzUrl;
  std::string CoverArtUrl;
  // The user's e-mail or web page for MusicBrainz; may be empty.
  std::string Contact;
};

// The settings store's ITUNESURL, MUSICBRAINZURL, COVERARTURL and MBCONTACT,
// each missing or empty one as its default.
TCoverServices ReadCoverServices();

// "vis_Tavio/VERSION ( CONTACT )", or "vis_Tavio/VERSION" without a contact.
std::string CoverUserAgent(const std::string& contact);

// The source named "itunes" or "musicbrainz"; null for any other name.
// country: the two-letter store region of iTunes.
std::unique_ptr<TCoverSource> NewCoverSource(std::string_view name, const TCoverServices& services,
                                             const std::string& country);

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
