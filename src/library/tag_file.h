// Where a tag reader takes its bytes: a music file opened read-only, or a
// tag's bytes with unsynchronisation undone as they are read. Reads are
// checked against the size before anything is allocated or read.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "library/file_access.h"

namespace tavio {

class TTagSource {
 public:
  virtual ~TTagSource() = default;
  // An upper bound of the bytes a read can reach.
  virtual uint64_t Size() const = 0;
  // Reads count bytes at position; false when they do not all lie inside the
  // source or the read fails (the buffer may then hold part of them).
  virtual bool ReadAt(uint64_t position, void* buffer, uint64_t count) = 0;
};

class TTagFile final : public TTagSource {
 public:
  // A missing, unreadable or irregular file gives IsOpen() false.
  explicit TTagFile(const std::string& fileName) : file_(fileName) {}

  bool IsOpen() const { return file_.IsOpen(); }
  uint64_t Size() const override { return file_.Size(); }
  bool ReadAt(uint64_t position, void* buffer, uint64_t count) override {
    return file_.ReadAt(position, buffer, count);
  }

 private:
  TRegularFile file_;
};

// The bytes of raw up to end: the first `from` as stored, the rest with the
// zero byte that unsynchronisation put after every $FF taken out again
// (ID3v2.4 structure document, 6.1). Decoded a chunk at a time while the
// reads move forward, so a tag of any size costs one chunk of memory; a read
// behind the chunk starts the decoding over.
class TResynchronisedSource final : public TTagSource {
 public:
  TResynchronisedSource(TTagSource& raw, uint64_t from, uint64_t end);

  // The raw size: taking bytes out only shortens.
  uint64_t Size() const override { return end_; }
  bool ReadAt(uint64_t position, void* buffer, uint64_t count) override;

 private:
  void Restart();
  // The next chunk of decoded bytes after the current one; false at the end.
  bool NextChunk();

  TTagSource& raw_;
  uint64_t from_;
  uint64_t end_;
  uint64_t rawPosition_;
  uint64_t chunkPosition_;  // decoded position of chunk_[0]
  std::vector<char> chunk_;
  std::vector<char> rawChunk_;
  bool afterFF_ = false;
};

}  // namespace tavio
