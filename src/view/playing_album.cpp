#include "view/playing_album.h"

#include <algorithm>
#include <cctype>

#include "player/winamp_control.h"
#include "raster/rounding.h"
#include "view/cover_commands.h"
#include "view/cover_drawing.h"
#include "view/marquelle2.h"

namespace tavio {
namespace {

// Windows paths: the same folder may be written in any letter case.
bool SameFolder(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// A small white play triangle, pointing right, with its centre at (cx, top + 5).
void DrawPlayTriangle(TBitmap32& frame, int32_t cx, int32_t top) {
  constexpr int32_t kHeight = 11;
  for (int32_t r = 0; r < kHeight; ++r) {
    const int32_t y = top + r;
    if (y < 0 || y >= frame.Height()) continue;
    const int32_t width = 1 + std::min(r, kHeight - 1 - r);
    for (int32_t x = cx - 3; x < cx - 3 + width; ++x)
      if (x >= 0 && x < frame.Width()) frame.Row(y)[x] = kOpaqueWhite;
  }
}

}  // namespace

void TMarquelle2::SetFollowPlaying(bool follow) {
  Playing.Follow = follow;
  Settings.WriteFollowPlaying(follow);
  if (follow) Playing.Show();
}

TPlayingAlbum::TPlayingAlbum(TMarquelle2& view) : view_(view), player_(&PlatformPlayerMessenger()) {}

void TPlayingAlbum::Poll() {
  const int64_t now = view_.Platform.NowMs();
  if (polled_ && now - lastPollMs_ < kPollMs) return;
  polled_ = true;
  lastPollMs_ = now;
  const std::string folder = FolderOf(TWinAmpControl(*player_).PlayingFile());
  if (SameFolder(folder, folder_)) return;
  folder_ = folder;
  const int32_t index = Index();
  if (Follow && index >= 0 && index != view_.CurrentIndex)
    view_.JumpTo(index);
  else if (!view_.Busy)
    view_.DrawRestFrame();
}

int32_t TPlayingAlbum::Index() const {
  if (folder_.empty()) return -1;
  for (int32_t i = 0; i < view_.Albums.Count(); ++i)
    if (SameFolder(FolderOf(view_.Albums.Items(i)->CoverFile), folder_)) return i;
  return -1;
}

void TPlayingAlbum::Show() {
  const int32_t index = Index();
  if (index >= 0) view_.JumpTo(index);
}

void TPlayingAlbum::DrawMarks() {
  const int32_t playing = Index();
  if (playing < 0 || view_.AlbumCount == 0) return;
  const TCarouselPlaces& p = view_.Places;
  const TWinkel& a = view_.Angles;
  const int32_t xs[] = {p.OuterLeftX, p.InnerLeftX, p.CenterX, p.InnerRightX, p.OuterRightX};
  const int32_t angles[] = {a.OuterLeft, a.InnerLeft, a.Center, a.InnerRight, a.OuterRight};
  for (int32_t place = 0; place < 5; ++place) {
    const int32_t album = ((view_.CurrentIndex + place - 2) % view_.AlbumCount + view_.AlbumCount) % view_.AlbumCount;
    if (album != playing) continue;
    const auto c = CoverCorners(p.CoverSide, static_cast<float>(xs[place]), TMarquelle2::kCoverTop,
                                static_cast<float>(angles[place]));
    // The quad holds the mirror too: the cover's lower edge is 3/4 down it.
    const float bottomLeftY = c[0].Y + (c[3].Y - c[0].Y) * 0.75f;
    const float bottomRightY = c[1].Y + (c[2].Y - c[1].Y) * 0.75f;
    const float cx = (c[0].X + c[1].X + c[2].X + c[3].X) / 4.0f;
    DrawPlayTriangle(view_.FrameBuffer, Round(cx), Round(std::max(bottomLeftY, bottomRightY)) + 4);
  }
}

}  // namespace tavio
