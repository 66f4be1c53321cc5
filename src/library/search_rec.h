// TSearchRec: one directory entry as the file search reports it (name,
// attributes, size, last-write time), and the file attributes it can carry.
#pragma once
#include <cstdint>
#include <string>

namespace tavio {

// One bit per attribute; the values are those of the Windows file attributes.
enum TFileAttributes : uint32_t {
  ffReadonly = 0x01,
  ffHidden = 0x02,
  ffSystem = 0x04,
  ffDirectory = 0x10,
  ffArchive = 0x20,
};
using TFileAttributeSet = uint32_t;

inline constexpr TFileAttributeSet kAllFileAttributes = ffArchive | ffReadonly | ffHidden | ffSystem | ffDirectory;

struct TSearchRec {
  std::string Name;  // without folder
  TFileAttributeSet Attr = 0;
  uint64_t Size = 0;
  int64_t Time = 0;  // last write, seconds since 1970-01-01 UTC
};

}  // namespace tavio
