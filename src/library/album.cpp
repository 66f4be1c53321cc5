#include "library/album.h"

namespace tavio {
namespace {

// Every new album starts from this one white square; its pixels are copied
// only when something writes into an album's cover.
const TBitmap33& BlankCover() {
  static const TBitmap33 blank = [] {
    TBitmap33 b(250, 250);
    b.Clear(kOpaqueWhite);
    return b;
  }();
  return blank;
}

}  // namespace

TAlbum::TAlbum() : Cover(BlankCover()) {}

void TAlbum::ReleaseCover() {
  Cover = BlankCover();
  CoverReady = false;
}

}  // namespace tavio
