#include "library/data_stream.h"

#include <algorithm>
#include <cstring>

#include "library/data_file_error.h"
#include "library/file_access.h"
#include "text/open_file.h"

namespace tavio {

TFileStream::TFileStream(const std::string& path, Mode mode) : durable_(mode == Mode::CreateNew) {
  if (mode == Mode::Read) {
    source_ = std::make_unique<TRegularFile>(path);
    if (!source_->IsOpen()) throw EDataFileError("Cannot open file \"" + path + "\"");
    remaining_ = source_->Size();
    return;
  }
  file_ = durable_ ? CreateNewFile(path) : OpenFile(path, "wb");
  if (!file_) throw EDataFileError("Cannot open file \"" + path + "\"");
}

TFileStream::~TFileStream() {
  if (file_) std::fclose(file_);
}

size_t TFileStream::Read(void* buffer, size_t count) {
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(count, remaining_));
  if (!source_ || !source_->ReadAt(position_, buffer, wanted)) return 0;
  position_ += wanted;
  remaining_ -= wanted;
  return wanted;
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
