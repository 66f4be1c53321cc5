#include "view/keyboard_navigation.h"

#include "view/marquelle2.h"

namespace tavio {

void TKeyboardNavigation::KeyDown(TViewKey key) {
  TMarquelle2& v = view_;
  if (v.AlbumCount == 0) return;
  switch (key) {
    case TViewKey::Left:
      v.QueueStep(-1);
      break;
    case TViewKey::Right:
      v.QueueStep(1);
      break;
    case TViewKey::PageUp:
      v.JumpTo(v.CurrentIndex - kPageAlbums);
      break;
    case TViewKey::PageDown:
      v.JumpTo(v.CurrentIndex + kPageAlbums);
      break;
    case TViewKey::Home:
      v.JumpTo(0);
      break;
    case TViewKey::End:
      v.JumpTo(v.AlbumCount - 1);
      break;
    case TViewKey::Space:
      // Part of the search text while one is being typed.
      if (typed_.Pending(v.Platform.NowMs())) return;
      v.OpenSongList();
      break;
    case TViewKey::Enter:
      v.OpenSongList();
      break;
    case TViewKey::Escape:
      v.CloseSongList();
      break;
  }
}

void TKeyboardNavigation::CharTyped(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return;
  const int64_t now = view_.Platform.NowMs();
  if (c == ' ' && !typed_.Pending(now)) return;  // Space opens the song list instead
  if (view_.AlbumCount == 0) return;
  const int32_t found = typed_.Type(c, now, view_.Albums);
  showing_ = true;
  if (found >= 0 && found != view_.CurrentIndex)
    view_.JumpTo(found);
  else if (!view_.Busy)
    view_.DrawRestFrame();
}

bool TKeyboardNavigation::CaptionOverride(std::string& text, TColor32& color) const {
  if (!showing_ || !typed_.Pending(view_.Platform.NowMs())) return false;
  text = typed_.Text();
  color = typed_.Matched() ? kOpaqueWhite : kNoMatchColor;
  return true;
}

void TKeyboardNavigation::Tick() {
  if (!showing_ || typed_.Pending(view_.Platform.NowMs()) || view_.Busy) return;
  showing_ = false;
  typed_.Reset();
  view_.DrawRestFrame();
}

}  // namespace tavio
