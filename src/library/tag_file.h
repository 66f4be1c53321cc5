// Where a tag reader takes its bytes: a music file opened read-only, or a tag
// body held in memory. Reads are checked against the size before anything is
// allocated or read.
#pragma once
#include <cstdint>
#include <fstream>
#include <string>

namespace tavio {

class TTagSource {
 public:
  virtual ~TTagSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads count bytes at position; false (and nothing read) when they do not
  // all lie inside the source or the read fails.
  virtual bool ReadAt(uint64_t position, void* buffer, uint64_t count) = 0;
};

class TTagFile final : public TTagSource {
 public:
  // A missing or unreadable file gives IsOpen() false.
  explicit TTagFile(const std::string& fileName);

  bool IsOpen() const { return isOpen_; }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t position, void* buffer, uint64_t count) override;

 private:
  std::ifstream stream_;
  uint64_t size_ = 0;
  bool isOpen_ = false;
};

// Bytes in memory standing for a source's first Size() bytes.
class TTagBytes final : public TTagSource {
 public:
  explicit TTagBytes(std::string bytes) : bytes_(std::move(bytes)) {}

  uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(uint64_t position, void* buffer, uint64_t count) override;

 private:
  std::string bytes_;
};

}  // namespace tavio
