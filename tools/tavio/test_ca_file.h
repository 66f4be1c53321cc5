// The tool's HTTPS fetches trust only the CA in TAVIO_TEST_CA_FILE when the
// tests set it, so they can serve "localhost" with a certificate of their own.
#pragma once
#include <cstdlib>
#include <string>

namespace tavio::tool {

inline std::string TestCaFile() {
  const char* file = std::getenv("TAVIO_TEST_CA_FILE");
  return file ? file : "";
}

}  // namespace tavio::tool
