// TFileTags: the ID3v2 and ID3v1 tags of one MP3 file, each read at most once
// and only when first asked for, so the album's texts and the song's track
// come from one read of the file.
#pragma once
#include <string>
#include <utility>

#include "library/id3v1_tag.h"
#include "library/id3v2_tag.h"

namespace tavio {

class TFileTags {
 public:
  // Reads into the readers given, so one pair can serve a folder of files;
  // the ID3v2 reader keeps the picture too when parts says so.
  TFileTags(std::string fileName, TID3v2Tag& v2, TID3v1Tag& v1, TTagParts parts = TTagParts::Texts)
      : fileName_(std::move(fileName)), v2_(v2), v1_(v1), parts_(parts) {}

  const std::string& FileName() const { return fileName_; }
  const TID3v2Tag& V2() {
    if (!v2Read_) v2_.ReadFromFile(fileName_, parts_);
    v2Read_ = true;
    return v2_;
  }
  const TID3v1Tag& V1() {
    if (!v1Read_) v1_.ReadFromFile(fileName_);
    v1Read_ = true;
    return v1_;
  }

 private:
  std::string fileName_;
  TID3v2Tag& v2_;
  TID3v1Tag& v1_;
  TTagParts parts_;
  bool v2Read_ = false;
  bool v1Read_ = false;
};

}  // namespace tavio
