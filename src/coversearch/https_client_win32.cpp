// WinHTTP as the plug-in's HTTPS transport: the system's TLS, certificate
// checks and the user's proxy. WinHTTP bounds each phase only, so its calls
// run asynchronously and the fetch, waiting in short slices, is the watchdog:
// at the overall deadline or on cancel it closes the request, the one way to
// end a call under way (a blocking call would go on as long as a server
// trickles bytes).
#include <windows.h>
#include <winhttp.h>

#include <vector>

#include "coversearch/http_error.h"
#include "coversearch/https_client.h"
#include "text/wide_text_win32.h"

namespace tavio {

namespace {

std::wstring TakeGlobal(LPWSTR text) {
  if (!text) return L"";
  std::wstring copy = text;
  GlobalFree(text);
  return copy;
}

// The proxy of the user's Internet settings; empty for a direct connection.
struct TUserProxy {
  std::wstring Proxy;
  std::wstring Bypass;
};

TUserProxy ReadUserProxy() {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return {};
  TakeGlobal(config.lpszAutoConfigUrl);
  return {TakeGlobal(config.lpszProxy), TakeGlobal(config.lpszProxyBypass)};
}

// What one request's asynchronous calls report. WinHTTP may still call back
// after the fetch has given up and closed the request, so the state lives
// until WinHTTP says the handle is gone.
struct TAsyncState {
  TAsyncState() : Done(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~TAsyncState() { CloseHandle(Done); }
  HANDLE Done;
  DWORD Error = 0;
  DWORD Bytes = 0;
  // WinHttpReadData writes here, possibly after the fetch has gone.
  std::vector<uint8_t> Buffer = std::vector<uint8_t>(64 * 1024);
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
  auto* state = reinterpret_cast<TAsyncState*>(context);
  if (!state) return;
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
      SetEvent(state->Done);
      break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
      state->Bytes = length;
      SetEvent(state->Done);
      break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      state->Error = static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError;
      if (state->Error == 0) state->Error = ERROR_WINHTTP_INTERNAL_ERROR;
      SetEvent(state->Done);
      break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
      delete state;
      break;
    default:
      break;
  }
}

// The request and its state; closing the handle is how a call under way is
// abandoned when the fetch's time is up or it is cancelled.
class TRequest {
 public:
  TRequest(HINTERNET connection, const std::wstring& path)
      : handle_(WinHttpOpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                   WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE)) {
    if (!handle_) return;
    state_ = new TAsyncState;
    const DWORD_PTR context = reinterpret_cast<DWORD_PTR>(state_);
    WinHttpSetOption(handle_, WINHTTP_OPTION_CONTEXT_VALUE, const_cast<DWORD_PTR*>(&context), sizeof context);
    WinHttpSetStatusCallback(handle_, OnStatus, WINHTTP_CALLBACK_FLAG_ALL_NOTIFICATIONS, 0);
  }
  ~TRequest() {
    if (handle_) WinHttpCloseHandle(handle_);
  }
  TRequest(const TRequest&) = delete;
  TRequest& operator=(const TRequest&) = delete;

  HINTERNET Handle() const { return handle_; }
  TAsyncState& State() { return *state_; }
  // WinHttpSendRequest sets the context again from its own argument.
  DWORD_PTR Context() const { return reinterpret_cast<DWORD_PTR>(state_); }
  // Waits for the call just started; false (with GetLastError set) when it failed.
  bool Await(const TFetchBudget& budget) {
    while (WaitForSingleObject(state_->Done, 50) == WAIT_TIMEOUT) budget.Check();
    SetLastError(state_->Error);
    return state_->Error == 0;
  }

 private:
  HINTERNET handle_;
  TAsyncState* state_ = nullptr;
};

std::wstring QueryText(HINTERNET request, DWORD info) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return L"";
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size, WINHTTP_NO_HEADER_INDEX))
    return L"";
  text.resize(size / sizeof(wchar_t));
  return text;
}

size_t CountLines(const std::wstring& rawHeaders) {
  size_t lines = 0;
  for (size_t at = rawHeaders.find(L"\r\n"); at != std::wstring::npos; at = rawHeaders.find(L"\r\n", at + 2)) ++lines;
  // The status line and the blank line that ends the head are no headers.
  return lines > 2 ? lines - 2 : 0;
}

[[noreturn]] void Fail(DWORD error, const TFetchBudget& budget, const std::string& url) {
  // A request the watchdog closed fails with whatever WinHTTP says then.
  budget.Check();
  switch (error) {
    // Wine reports an untrusted chain as a failed channel.
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      throw EHttpError("The server's certificate is not trusted, or no secure channel could be agreed (WinHTTP error " +
                       std::to_string(error) + ")");
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
      throw EHttpError("The server's certificate is not trusted (WinHTTP error " + std::to_string(error) + ")");
    case ERROR_WINHTTP_TIMEOUT:
      throw EHttpError("Timed out: the server took too long to answer");
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CANNOT_CONNECT:
      throw EHttpError("No connection to " + url + " (WinHTTP error " + std::to_string(error) + ")");
    default:
      throw EHttpError("The secure connection failed (WinHTTP error " + std::to_string(error) + ")");
  }
}

}  // namespace

struct THttpsClient::TTransport {
  ~TTransport() {
    if (Session) WinHttpCloseHandle(Session);
  }
  HINTERNET Session = nullptr;
};

THttpsClient::THttpsClient(THttpsClientOptions options)
    : options_(std::move(options)), transport_(std::make_unique<TTransport>()) {
  const TUserProxy proxy = ReadUserProxy();
  const std::wstring agent = Widen(options_.UserAgent.empty() ? "vis_Tavio" : options_.UserAgent);
  transport_->Session =
      WinHttpOpen(agent.c_str(), proxy.Proxy.empty() ? WINHTTP_ACCESS_TYPE_DEFAULT_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                  proxy.Proxy.empty() ? WINHTTP_NO_PROXY_NAME : proxy.Proxy.c_str(),
                  proxy.Bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : proxy.Bypass.c_str(), WINHTTP_FLAG_ASYNC);
  if (!transport_->Session) throw EHttpError("The secure transport could not be started");
}

THttpsClient::~THttpsClient() = default;

THttpsAnswer THttpsClient::Exchange(const std::string& url, const TFetchBudget& budget, size_t maxBody) {
  const std::wstring wideUrl = Widen(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTPS)
    throw EHttpError("Not an https URL: " + url);
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  const HINTERNET connection = WinHttpConnect(transport_->Session, host.c_str(), parts.nPort, 0);
  if (!connection) Fail(GetLastError(), budget, url);
  const std::unique_ptr<void, decltype(&WinHttpCloseHandle)> connectionCloser(connection, &WinHttpCloseHandle);
  TRequest request(connection, path);
  const HINTERNET handle = request.Handle();
  if (!handle) Fail(GetLastError(), budget, url);
  // Redirects are followed, and checked, one level up.
  DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  WinHttpSetOption(handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
  DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
  WinHttpSetOption(handle, WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);
  const int32_t connectMs = budget.LeftMs(options_.ConnectTimeoutMs);
  const int32_t readMs = budget.LeftMs(options_.ReadTimeoutMs);
  WinHttpSetTimeouts(handle, connectMs, connectMs, readMs, readMs);

  if (!WinHttpSendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, request.Context()) ||
      !request.Await(budget) || !WinHttpReceiveResponse(handle, nullptr) || !request.Await(budget))
    Fail(GetLastError(), budget, url);
  if (CountLines(QueryText(handle, WINHTTP_QUERY_RAW_HEADERS_CRLF)) > options_.Limits.MaxHeaders)
    throw EHttpError("Too many header lines in the response");

  THttpsAnswer answer;
  const std::wstring code = QueryText(handle, WINHTTP_QUERY_STATUS_CODE);
  answer.Code = code.empty() ? -1 : _wtoi(code.c_str());
  answer.StatusLine = Narrow(QueryText(handle, WINHTTP_QUERY_VERSION) + L" " + code + L" " +
                             QueryText(handle, WINHTTP_QUERY_STATUS_TEXT));
  answer.Location = Narrow(QueryText(handle, WINHTTP_QUERY_LOCATION));
  answer.RetryAfter = Narrow(QueryText(handle, WINHTTP_QUERY_RETRY_AFTER));

  const bool success = answer.Code >= 200 && answer.Code <= 299;
  const size_t cap = success ? maxBody : options_.MaxErrorBody;
  std::vector<uint8_t>& buffer = request.State().Buffer;
  for (;;) {
    if (!WinHttpReadData(handle, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr) || !request.Await(budget))
      Fail(GetLastError(), budget, url);
    const size_t got = request.State().Bytes;
    if (got == 0) break;
    if (PassesCap(answer.Body.size(), got, cap)) {
      if (success) throw EHttpError("Response body exceeds the limit of " + std::to_string(cap) + " bytes");
      // An error's body only adds to its message: keep what fits, end there.
      answer.Body.insert(answer.Body.end(), buffer.begin(), buffer.begin() + (cap - answer.Body.size()));
      break;
    }
    answer.Body.insert(answer.Body.end(), buffer.begin(), buffer.begin() + got);
  }
  return answer;
}

}  // namespace tavio
