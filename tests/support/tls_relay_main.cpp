// tls_relay DIR: the TLS fronts of the Wine tests' HTTPS cases, run natively
// beside Wine (see tools/wine-test.sh). DIR holds make_test_ca.sh's files.
// Prints "BACKEND TRUSTED ROGUE" ports on one line: the Wine test serves
// plain HTTP on BACKEND; TRUSTED presents the test CA's certificate, ROGUE
// the untrusted one's. Runs until it is killed.
#include <cstdio>
#include <string>

#include "support/tls_relay.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tls_relay DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  // A free port for the Wine test to listen on.
  const int probe = tavio::test::ListenOnLoopback(0);
  const uint16_t backend = tavio::test::PortOf(probe);
  ::close(probe);
  tavio::test::TTlsRelay trusted(dir + "/server.pem", dir + "/server.key", backend);
  tavio::test::TTlsRelay rogue(dir + "/rogue-server.pem", dir + "/rogue-server.key", backend);
  std::printf("%u %u %u\n", backend, trusted.Port(), rogue.Port());
  std::fflush(stdout);
  for (;;) ::pause();
}
