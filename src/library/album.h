// TAlbum: one album folder of the library (cover path, tags, cover bitmap).
// The cover bitmap is shared with the loader threads; CoverReady is their claim.
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "library/base_object.h"
#include "raster/bitmap32.h"

namespace tavio {

class TFileTags;

class TAlbum : public TBaseObject {
 public:
  // CoverReady false, empty texts, Year 0, a 250 x 250 opaque white cover.
  TAlbum();

  void LoadFromReader(TReader& reader) override;
  void SaveToWriter(TWriter& writer) const override;
  // Album, title, year, artist and genre from the file's ID3v2 tag, or all
  // five from its ID3v1 tag when the ID3v2 tag names no album. Never fails.
  void ReadTags(const std::string& fileName);
  void ReadTags(TFileTags& tags);

  // Atomic test-and-set: true when this call claimed the album.
  bool ClaimCover() { return !CoverReady.exchange(true); }
  // Back to the unprepared state: the shared white square, unclaimed. The
  // caller holds CoverLock.
  void ReleaseCover();

  std::atomic<bool> CoverReady{false};
  // Held by whoever reads or writes Cover while loaders may run: a loader
  // swapping in a prepared picture, the view filling a slot from it.
  mutable std::mutex CoverLock;
  std::string CoverFile;
  std::string Title;
  int32_t Year = 0;
  std::string Artist;
  std::string Album;
  std::string Genre;
  TBitmap33 Cover;
};

}  // namespace tavio
