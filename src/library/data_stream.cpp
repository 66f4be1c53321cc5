#include "library/data_stream.h"

#include <algorithm>
#include <cstring>

#include "library/data_file_error.h"
#include "library/file_access.h"

namespace tavio {

static uint64_t SizeOfOpenFile(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(file);
  std::rewind(file);
  return size > 0 ? static_cast<uint64_t>(size) : 0;
}

TFileStream::TFileStream(const std::string& path, Mode mode) : durable_(mode == Mode::CreateNew) {
  file_ = durable_ ? CreateNewFile(path) : std::fopen(path.c_str(), mode == Mode::Read ? "rb" : "wb");
  if (!file_) throw EDataFileError("Cannot open file \"" + path + "\"");
  if (mode == Mode::Read) remaining_ = SizeOfOpenFile(file_);
}

TFileStream::~TFileStream() {
  if (file_) std::fclose(file_);
}

size_t TFileStream::Read(void* buffer, size_t count) {
  const size_t got = file_ ? std::fread(buffer, 1, count, file_) : 0;
  remaining_ -= std::min<uint64_t>(remaining_, got);
  return got;
}

void TFileStream::Write(const void* buffer, size_t count) {
  // Nothing to write may come with a null buffer, which fwrite must not see.
  if (file_ && count == 0) return;
  if (!file_ || std::fwrite(buffer, 1, count, file_) != count)
    throw EDataFileError("Stream write error");
}

uint64_t TFileStream::Remaining() const { return remaining_; }

void TFileStream::Close() {
  std::FILE* file = file_;
  file_ = nullptr;
  if (!file) return;
  const bool flushed = !durable_ || FlushToDisk(file);
  if (std::fclose(file) != 0 || !flushed) throw EDataFileError("Stream write error");
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  const size_t got = std::min(count, bytes_.size() - position_);
  if (got == 0) return 0;
  std::memcpy(buffer, bytes_.data() + position_, got);
  position_ += got;
  return got;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  bytes_.append(static_cast<const char*>(buffer), count);
}

}  // namespace tavio
