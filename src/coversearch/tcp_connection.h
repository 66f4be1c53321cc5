// TTcpConnection: one outgoing TCP connection with bounded waits, the thin
// socket layer under the HTTP client (Winsock on Windows, BSD sockets else).
#pragma once
#include <cstdint>
#include <string>

#include "coversearch/byte_source.h"
#include "coversearch/fetch_budget.h"

namespace tavio {

class TTcpConnection : public TByteSource {
 public:
  // Resolves host and connects within connectTimeoutMs; each later send or
  // receive waits ioTimeoutMs at most, and every wait ends with the budget of
  // the fetch under way (which the owner keeps alive and renews per fetch).
  // Raises EHttpError on failure.
  TTcpConnection(const std::string& host, uint16_t port, int32_t connectTimeoutMs, int32_t ioTimeoutMs,
                 const TFetchBudget& budget);
  ~TTcpConnection() override;
  TTcpConnection(const TTcpConnection&) = delete;
  TTcpConnection& operator=(const TTcpConnection&) = delete;

  void SendAll(const std::string& bytes);
  size_t Read(uint8_t* buffer, size_t capacity) override;
  // The wait of the following receives (the body of an error gets less).
  void SetReadTimeout(int32_t ms) { ioTimeoutMs_ = ms; }

 private:
  std::uintptr_t socket_;
  int32_t ioTimeoutMs_;
  const TFetchBudget& budget_;
};

}  // namespace tavio
