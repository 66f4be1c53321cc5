#include "library/tag_file.h"

#include <algorithm>
#include <cstring>

namespace tavio {

namespace {

constexpr uint64_t kChunkBytes = 64 * 1024;

}  // namespace

TResynchronisedSource::TResynchronisedSource(TTagSource& raw, uint64_t from, uint64_t end)
    : raw_(raw), from_(std::min(from, end)), end_(end) {
  Restart();
}

void TResynchronisedSource::Restart() {
  rawPosition_ = from_;
  chunkPosition_ = from_;
  chunk_.clear();
  afterFF_ = false;
}

bool TResynchronisedSource::NextChunk() {
  chunkPosition_ += chunk_.size();
  chunk_.clear();
  const uint64_t count = std::min(kChunkBytes, end_ - rawPosition_);
  if (count == 0) return false;
  rawChunk_.resize(static_cast<size_t>(count));
  if (!raw_.ReadAt(rawPosition_, rawChunk_.data(), count)) return false;
  rawPosition_ += count;
  // A zero right after $FF goes, also when the $FF ended the chunk before.
  const char* in = rawChunk_.data();
  const char* const stop = in + rawChunk_.size();
  if (afterFF_ && *in == '\0') ++in;
  while (in < stop) {
    const char* ff = static_cast<const char*>(std::memchr(in, 0xFF, static_cast<size_t>(stop - in)));
    const char* runEnd = ff ? ff + 1 : stop;
    chunk_.insert(chunk_.end(), in, runEnd);
    in = runEnd;
    if (ff && in < stop && *in == '\0') ++in;
  }
  afterFF_ = static_cast<uint8_t>(rawChunk_.back()) == 0xFF;
  return true;
}

bool TResynchronisedSource::ReadAt(uint64_t position, void* buffer, uint64_t count) {
  if (position > end_ || count > end_ - position) return false;
  auto* out = static_cast<char*>(buffer);
  if (position < from_) {
    const uint64_t stored = std::min(count, from_ - position);
    if (!raw_.ReadAt(position, out, stored)) return false;
    out += stored, position += stored, count -= stored;
  }
  if (count > 0 && position < chunkPosition_) Restart();
  while (count > 0) {
    while (position >= chunkPosition_ + chunk_.size())
      if (!NextChunk()) return false;
    const uint64_t offset = position - chunkPosition_;
    const uint64_t part = std::min(count, chunk_.size() - offset);
    std::memcpy(out, chunk_.data() + offset, static_cast<size_t>(part));
    out += part, position += part, count -= part;
  }
  return true;
}

}  // namespace tavio
