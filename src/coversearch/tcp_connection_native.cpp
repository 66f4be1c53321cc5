#include "coversearch/tcp_connection.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "coversearch/http_error.h"

namespace tavio {

namespace {

constexpr int kSocketBufferBytes = 65536;

int Fd(std::uintptr_t socket) { return static_cast<int>(socket); }

// Waits until the socket is ready for events; false on timeout.
bool WaitFor(int fd, short events, int32_t timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int n = poll(&p, 1, timeoutMs);
    if (n >= 0) return n > 0;
    if (errno != EINTR) throw EHttpError(std::string("Socket error: ") + std::strerror(errno));
  }
}

int ConnectOne(const addrinfo& a, int32_t timeoutMs, const TFetchBudget& budget) {
  const int fd = socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC, a.ai_protocol);
  if (fd < 0) return -1;
  int size = kSocketBufferBytes;
  setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
  setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  const int flags = fcntl(fd, F_GETFL);
  fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  bool connected = connect(fd, a.ai_addr, a.ai_addrlen) == 0;
  bool ready = false;
  try {
    ready = !connected && errno == EINPROGRESS &&
            budget.WaitUntil(timeoutMs, [&](int32_t ms) { return WaitFor(fd, POLLOUT, ms); });
  } catch (...) {
    close(fd);
    throw;
  }
  if (ready) {
    int error = 0;
    socklen_t len = sizeof error;
    connected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
  }
  if (!connected) {
    close(fd);
    return -1;
  }
  fcntl(fd, F_SETFL, flags);
  return fd;
}

}  // namespace

TTcpConnection::TTcpConnection(const std::string& host, uint16_t port, int32_t connectTimeoutMs,
                               int32_t ioTimeoutMs, const TFetchBudget& budget)
    : socket_(0), ioTimeoutMs_(ioTimeoutMs), budget_(budget) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found)
    throw EHttpError("Cannot resolve host \"" + host + "\"");
  int fd = -1;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) fd = ConnectOne(*a, connectTimeoutMs, budget_);
  freeaddrinfo(found);
  if (fd < 0) throw EHttpError("Cannot connect to " + host + ":" + std::to_string(port));
  socket_ = static_cast<std::uintptr_t>(fd);
}

TTcpConnection::~TTcpConnection() { close(Fd(socket_)); }

void TTcpConnection::SendAll(const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    if (!budget_.WaitUntil(ioTimeoutMs_, [&](int32_t ms) { return WaitFor(Fd(socket_), POLLOUT, ms); }))
      throw EHttpError("Timed out sending the request");
    const ssize_t n = send(Fd(socket_), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw EHttpError(std::string("Connection broken while sending: ") + std::strerror(errno));
    sent += static_cast<size_t>(n);
  }
}

size_t TTcpConnection::Read(uint8_t* buffer, size_t capacity) {
  for (;;) {
    if (!budget_.WaitUntil(ioTimeoutMs_, [&](int32_t ms) { return WaitFor(Fd(socket_), POLLIN, ms); }))
      throw EHttpError("Timed out waiting for the server");
    const ssize_t n = recv(Fd(socket_), buffer, capacity, 0);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno == EINTR) continue;
    // A reset after the server sent everything is how many servers close.
    if (errno == ECONNRESET) return 0;
    throw EHttpError(std::string("Connection broken: ") + std::strerror(errno));
  }
}

}  // namespace tavio
