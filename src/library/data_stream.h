// TStream: the byte source and sink under the data-file reader and writer,
// with a file stream (UTF-8 paths) and an in-memory stream.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tavio {

class TRegularFile;

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; fewer only at the end of the data.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes all count bytes or throws EDataFileError.
  virtual void Write(const void* buffer, size_t count) = 0;
  // Bytes left to read from the current position.
  virtual uint64_t Remaining() const = 0;
};

class TFileStream : public TStream {
 public:
  // CreateNew: only a name nothing has yet, and Close puts the data on the disk.
  enum class Mode { Read, Create, CreateNew };
  // Throws EDataFileError when the file cannot be opened (or, to be read, is
  // no regular file).
  TFileStream(const std::string& path, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  uint64_t Remaining() const override;
  // Flushes and closes; throws when data could not be written.
  void Close();

 private:
  std::FILE* file_ = nullptr;             // Create
  std::unique_ptr<TRegularFile> source_;  // Read
  uint64_t position_ = 0;
  uint64_t remaining_ = 0;
  bool durable_ = false;
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string_view bytes) : bytes_(bytes) {}

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  uint64_t Remaining() const override { return bytes_.size() - position_; }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  size_t position_ = 0;
};

}  // namespace tavio
