#include "coversearch/tcp_connection.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <mutex>

#include "coversearch/http_error.h"

namespace tavio {

namespace {

constexpr int kSocketBufferBytes = 65536;

SOCKET Sock(std::uintptr_t socket) { return static_cast<SOCKET>(socket); }

// Winsock is started once for the process and left running: the DLL may be
// unloaded by the player, and WSACleanup would pull sockets from under others.
void StartWinsock() {
  static std::once_flag once;
  std::call_once(once, [] {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw EHttpError("Cannot start Winsock");
  });
}

// Waits until the socket is ready; false on timeout.
bool WaitFor(SOCKET s, bool forWrite, int32_t timeoutMs) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  fd_set errors;
  FD_ZERO(&errors);
  FD_SET(s, &errors);
  timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int n = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, &errors, &tv);
  if (n == SOCKET_ERROR) throw EHttpError("Socket error " + std::to_string(WSAGetLastError()));
  return n > 0;
}

SOCKET ConnectOne(const addrinfo& a, int32_t timeoutMs, const TFetchBudget& budget) {
  const SOCKET s = socket(a.ai_family, a.ai_socktype, a.ai_protocol);
  if (s == INVALID_SOCKET) return s;
  int size = kSocketBufferBytes;
  setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&size), sizeof size);
  setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  bool connected = connect(s, a.ai_addr, static_cast<int>(a.ai_addrlen)) == 0;
  bool ready = false;
  try {
    ready = !connected && WSAGetLastError() == WSAEWOULDBLOCK &&
            budget.WaitUntil(timeoutMs, [&](int32_t ms) { return WaitFor(s, true, ms); });
  } catch (...) {
    closesocket(s);
    throw;
  }
  if (ready) {
    int error = 0;
    int len = sizeof error;
    connected = getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &len) == 0 && error == 0;
  }
  if (!connected) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  nonBlocking = 0;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  return s;
}

}  // namespace

TTcpConnection::TTcpConnection(const std::string& host, uint16_t port, int32_t connectTimeoutMs,
                               int32_t ioTimeoutMs, const TFetchBudget& budget)
    : socket_(0), ioTimeoutMs_(ioTimeoutMs), budget_(budget) {
  StartWinsock();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
    throw EHttpError("Cannot resolve host \"" + host + "\"");
  SOCKET s = INVALID_SOCKET;
  for (addrinfo* a = found; a && s == INVALID_SOCKET; a = a->ai_next) s = ConnectOne(*a, connectTimeoutMs, budget_);
  freeaddrinfo(found);
  if (s == INVALID_SOCKET) throw EHttpError("Cannot connect to " + host + ":" + std::to_string(port));
  socket_ = static_cast<std::uintptr_t>(s);
}

TTcpConnection::~TTcpConnection() { closesocket(Sock(socket_)); }

void TTcpConnection::SendAll(const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    if (!budget_.WaitUntil(ioTimeoutMs_, [&](int32_t ms) { return WaitFor(Sock(socket_), true, ms); }))
      throw EHttpError("Timed out sending the request");
    const int n = send(Sock(socket_), bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) throw EHttpError("Connection broken while sending (" + std::to_string(WSAGetLastError()) + ")");
    sent += static_cast<size_t>(n);
  }
}

size_t TTcpConnection::Read(uint8_t* buffer, size_t capacity) {
  if (!budget_.WaitUntil(ioTimeoutMs_, [&](int32_t ms) { return WaitFor(Sock(socket_), false, ms); }))
    throw EHttpError("Timed out waiting for the server");
  const int n = recv(Sock(socket_), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
  if (n >= 0) return static_cast<size_t>(n);
  // A reset after the server sent everything is how many servers close.
  if (WSAGetLastError() == WSAECONNRESET) return 0;
  throw EHttpError("Connection broken (" + std::to_string(WSAGetLastError()) + ")");
}

}  // namespace tavio
