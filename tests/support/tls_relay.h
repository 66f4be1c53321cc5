// A TLS front for the scripted HTTP server, natively only: it listens on
// 127.0.0.1, completes the handshake with a certificate for "localhost" and
// relays the plain bytes both ways to a backend port, so every scripted
// answer of the HTTP tests can be served over HTTPS unchanged.
#pragma once
#include <arpa/inet.h>
#include <gnutls/gnutls.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <list>
#include <stdexcept>
#include <string>
#include <thread>

namespace tavio::test {

// A socket listening on 127.0.0.1 at port (0: any free one).
inline int ListenOnLoopback(uint16_t port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(s, 16) != 0)
    throw std::runtime_error("cannot listen on 127.0.0.1");
  return s;
}

inline uint16_t PortOf(int s) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

class TTlsRelay {
 public:
  TTlsRelay(const std::string& certFile, const std::string& keyFile, uint16_t backendPort)
      : backendPort_(backendPort) {
    gnutls_global_init();
    gnutls_certificate_allocate_credentials(&credentials_);
    if (gnutls_certificate_set_x509_key_file(credentials_, certFile.c_str(), keyFile.c_str(), GNUTLS_X509_FMT_PEM) < 0)
      throw std::runtime_error("cannot load " + certFile);
    listener_ = ListenOnLoopback(0);
    port_ = PortOf(listener_);
    acceptor_ = std::thread([this] { Accept(); });
  }
  ~TTlsRelay() {
    stopping_ = true;
    acceptor_.join();
    for (std::thread& t : connections_) t.join();
    ::close(listener_);
    gnutls_certificate_free_credentials(credentials_);
    gnutls_global_deinit();
  }
  TTlsRelay(const TTlsRelay&) = delete;
  TTlsRelay& operator=(const TTlsRelay&) = delete;

  uint16_t Port() const { return port_; }
  std::string Url(const std::string& path) const { return "https://localhost:" + std::to_string(port_) + path; }

 private:
  void Accept() {
    while (!stopping_) {
      pollfd p{listener_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const int client = ::accept(listener_, nullptr, nullptr);
      if (client >= 0) connections_.emplace_back([this, client] { Relay(client); });
    }
  }

  void Relay(int client) {
    gnutls_session_t session;
    gnutls_init(&session, GNUTLS_SERVER);
    gnutls_set_default_priority(session);
    gnutls_credentials_set(session, GNUTLS_CRD_CERTIFICATE, credentials_);
    gnutls_transport_set_int(session, client);
    gnutls_handshake_set_timeout(session, 10000);
    int result;
    do result = gnutls_handshake(session);
    while (result < 0 && !gnutls_error_is_fatal(result));
    if (result >= 0) Pump(session, client);
    gnutls_deinit(session);
    ::close(client);
  }

  void Pump(gnutls_session_t session, int client) {
    const int backend = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(backendPort_);
    if (::connect(backend, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      char buffer[16384];
      while (!stopping_) {
        pollfd p[2] = {{client, POLLIN, 0}, {backend, POLLIN, 0}};
        if (gnutls_record_check_pending(session) == 0 && ::poll(p, 2, 50) <= 0) continue;
        if (gnutls_record_check_pending(session) > 0 || p[0].revents) {
          const ssize_t n = gnutls_record_recv(session, buffer, sizeof buffer);
          if (n == GNUTLS_E_AGAIN || n == GNUTLS_E_INTERRUPTED) continue;
          if (n <= 0 || ::send(backend, buffer, static_cast<size_t>(n), MSG_NOSIGNAL) != n) break;
        }
        if (p[1].revents) {
          const ssize_t n = ::recv(backend, buffer, sizeof buffer, 0);
          if (n <= 0 || gnutls_record_send(session, buffer, static_cast<size_t>(n)) != n) break;
        }
      }
      gnutls_bye(session, GNUTLS_SHUT_WR);
    }
    ::close(backend);
  }

  uint16_t backendPort_;
  gnutls_certificate_credentials_t credentials_{};
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::list<std::thread> connections_;
  std::thread acceptor_;
};

}  // namespace tavio::test
