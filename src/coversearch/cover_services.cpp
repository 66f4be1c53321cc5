#include "coversearch/cover_services.h"

#include "coversearch/itunes_source.h"
#include "coversearch/musicbrainz_source.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavio {

namespace {

std::string WithoutTrailingSlash(std::string url) {
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

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

TCoverServices ReadCoverServices() {
  const auto store = OpenSettingsStore();
  const auto read = [&](std::string_view key, const char* fallback) {
    std::string value = WithoutTrailingSlash(store->ReadString(settings::kSettings, key, ""));
    return value.empty() ? std::string(fallback) : value;
  };
  return {read(settings::kItunesUrl, kDefaultItunesUrl), read(settings::kMusicBrainzUrl, kDefaultMusicBrainzUrl),
          read(settings::kCoverArtUrl, kDefaultCoverArtUrl),
          store->ReadString(settings::kSettings, settings::kMusicBrainzContact, "")};
}

std::string CoverUserAgent(const std::string& contact) {
  const std::string product = std::string("vis_Tavio/") + TAVIO_VERSION;
  return contact.empty() ? product : product + " ( " + contact + " )";
}

std::unique_ptr<TCoverSource> NewCoverSource(std::string_view name, const TCoverServices& services,
                                             const std::string& country) {
  if (name == "itunes") return std::make_unique<TItunesSource>(services.ItunesUrl, country);
  if (name == "musicbrainz") return std::make_unique<TMusicBrainzSource>(services.MusicBrainzUrl, services.CoverArtUrl);
  return nullptr;
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
