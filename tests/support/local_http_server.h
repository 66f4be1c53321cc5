// A scripted HTTP server on 127.0.0.1 for the tests of the HTTP client and the
// image search: it serves one connection at a time on its own thread, records
// every request with the connection it came on, and lets each test answer.
#pragma once
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavio::test {

#ifdef _WIN32
using TServerSocket = SOCKET;
inline void CloseServerSocket(TServerSocket s) { closesocket(s); }
inline bool ServerSocketValid(TServerSocket s) { return s != INVALID_SOCKET; }
inline void StartSockets() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}
// True when s is readable within ms.
inline bool Readable(TServerSocket s, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{0, ms * 1000};
  return select(0, &set, nullptr, nullptr, &tv) > 0;
}
#else
using TServerSocket = int;
inline void CloseServerSocket(TServerSocket s) { close(s); }
inline bool ServerSocketValid(TServerSocket s) { return s >= 0; }
inline void StartSockets() {}
inline bool Readable(TServerSocket s, int ms) {
  pollfd p{s, POLLIN, 0};
  return poll(&p, 1, ms) > 0;
}
#endif

struct TRecordedRequest {
  std::string Bytes;
  int Connection = 0;
};

// The server's side of one connection, handed to the test's answer.
class TServerConnection {
 public:
  TServerConnection(TServerSocket s, const std::atomic<bool>& stopping) : socket_(s), stopping_(stopping) {}
  // False once the client has gone.
  bool Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      const int n = static_cast<int>(::send(socket_, bytes.data() + sent, static_cast<int>(bytes.size() - sent),
#ifdef _WIN32
                                            0));
#else
                                            MSG_NOSIGNAL));
#endif
      if (n <= 0) return false;
      sent += static_cast<size_t>(n);
    }
    return true;
  }
  // Says nothing until the client closes (or the server stops).
  void WaitForClientClose() {
    char c;
    while (!stopping_)
      if (Readable(socket_, 50) && ::recv(socket_, &c, 1, 0) <= 0) return;
  }

 private:
  TServerSocket socket_;
  const std::atomic<bool>& stopping_;
};

// Answers one request; returns false to close the connection afterwards.
using TAnswer = std::function<bool(const std::string& request, TServerConnection& connection)>;

class TLocalHttpServer {
 public:
  // port 0: any free one.
  explicit TLocalHttpServer(TAnswer answer, uint16_t port = 0) : answer_(std::move(answer)) {
    StartSockets();
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TLocalHttpServer() {
    stopping_ = true;
    thread_.join();
    CloseServerSocket(listener_);
  }
  TLocalHttpServer(const TLocalHttpServer&) = delete;
  TLocalHttpServer& operator=(const TLocalHttpServer&) = delete;

  uint16_t Port() const { return port_; }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  std::vector<TRecordedRequest> Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  int Connections() const { return connections_; }

 private:
  void Serve() {
    while (!stopping_) {
      if (!Readable(listener_, 50)) continue;
      const TServerSocket client = ::accept(listener_, nullptr, nullptr);
      if (!ServerSocketValid(client)) continue;
      ++connections_;
      ServeConnection(client);
      CloseServerSocket(client);
    }
  }
  void ServeConnection(TServerSocket client) {
    TServerConnection connection(client, stopping_);
    std::string pending;
    while (!stopping_) {
      const size_t end = pending.find("\r\n\r\n");
      if (end != std::string::npos) {
        const std::string request = pending.substr(0, end + 4);
        pending.erase(0, end + 4);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          requests_.push_back({request, connections_});
        }
        if (!answer_(request, connection)) return;
        continue;
      }
      if (!Readable(client, 50)) continue;
      char buffer[4096];
      const int n = static_cast<int>(::recv(client, buffer, sizeof buffer, 0));
      if (n <= 0) return;
      pending.append(buffer, static_cast<size_t>(n));
    }
  }

  TAnswer answer_;
  TServerSocket listener_;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<TRecordedRequest> requests_;
  std::thread thread_;
};

// The request target of a recorded request ("/a/b.jpg").
inline std::string TargetOf(const std::string& request) {
  const size_t first = request.find(' ');
  return request.substr(first + 1, request.find(' ', first + 1) - first - 1);
}

// A whole response with its Content-Length; headers end each in "\r\n".
inline std::string Reply(const std::string& status, const std::string& body, const std::string& headers = "") {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + headers + "\r\n" +
         body;
}

}  // namespace tavio::test
