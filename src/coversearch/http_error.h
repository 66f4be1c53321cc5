// EHttpError: why a fetch failed. A response the client refused (an error
// status, a redirect) also carries its status code, status line and body.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavio {

class EHttpError : public std::runtime_error {
 public:
  // A failure without a response: no connection, a timeout, a broken reply.
  explicit EHttpError(const std::string& message) : std::runtime_error(message) {}
  // A response refused for its status; the message is the status line.
  EHttpError(int32_t code, const std::string& statusText, std::vector<uint8_t> body, const std::string& message)
      : std::runtime_error(message), Code(code), StatusText(statusText), Body(std::move(body)) {}

  // -1 when there was no status (or no readable one).
  int32_t Code = -1;
  std::string StatusText;
  std::vector<uint8_t> Body;
  // The response's Retry-After header as sent; empty when it had none.
  std::string RetryAfter;
};

}  // namespace tavio
