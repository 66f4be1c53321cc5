#include "coversearch/http_url.h"

#include <algorithm>
#include <cctype>

#include "coversearch/http_error.h"

namespace tavio {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

uint16_t ParsePort(const std::string& text, const std::string& url) {
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    throw EHttpError("Invalid port in URL \"" + url + "\"");
  const int port = std::stoi(text);
  if (port < 1 || port > 65535) throw EHttpError("Invalid port in URL \"" + url + "\"");
  return static_cast<uint16_t>(port);
}

// A "#" before the query starts a fragment, which never goes out.
std::string DropFragment(const std::string& target) {
  const size_t hash = target.find('#');
  if (hash == std::string::npos || hash > target.find('?')) return target;
  return target.substr(0, hash);
}

}  // namespace

std::string THttpUrl::HostHeader() const { return Port == 80 ? Host : Host + ":" + std::to_string(Port); }

std::string THttpUrl::Path() const { return Target.substr(0, Target.find('?')); }

THttpUrl SplitHttpUrl(const std::string& url) {
  const size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string::npos) throw EHttpError("Not an absolute URL: \"" + url + "\"");
  const std::string scheme = Lower(url.substr(0, schemeEnd));
  if (scheme == "https") throw EHttpError("https is not supported (no secure transport): \"" + url + "\"");
  if (scheme != "http") throw EHttpError("Unsupported URL scheme \"" + scheme + "\"");
  const size_t authorityStart = schemeEnd + 3;
  const size_t slash = url.find('/', authorityStart);
  std::string authority = url.substr(authorityStart, slash == std::string::npos ? std::string::npos : slash - authorityStart);
  THttpUrl out;
  out.Target = slash == std::string::npos ? "/" : DropFragment(url.substr(slash));
  if (const size_t at = authority.rfind('@'); at != std::string::npos) {
    const std::string userInfo = authority.substr(0, at);
    const size_t colon = userInfo.find(':');
    out.User = userInfo.substr(0, colon);
    if (colon != std::string::npos) out.Password = userInfo.substr(colon + 1);
    authority.erase(0, at + 1);
  }
  const size_t colon = authority.find(':');
  out.Host = authority.substr(0, colon);
  if (colon != std::string::npos) out.Port = ParsePort(authority.substr(colon + 1), url);
  if (out.Host.empty()) throw EHttpError("No host in URL \"" + url + "\"");
  if (url.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
    throw EHttpError("Line break in URL \"" + url.substr(0, url.find_first_of("\r\n")) + "\"");
  return out;
}

std::string BuildGetRequest(const THttpUrl& url, const std::string& cookieHeader) {
  std::string r = "GET " + url.Target + " HTTP/1.1\r\n";
  r += "Content-Type: text/html\r\n";
  r += "Host: " + url.HostHeader() + "\r\n";
  r += "Accept: text/html, */*\r\n";
  r += "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";
  if (!cookieHeader.empty()) r += "Cookie: " + cookieHeader + "\r\n";
  r += "\r\n";
  return r;
}

}  // namespace tavio
