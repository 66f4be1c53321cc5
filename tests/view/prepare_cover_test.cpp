#include "view/prepare_cover.h"

#include <gtest/gtest.h>

#include "library/library_scan_files.h"
#include "support/temp_folder.h"

using namespace tavio;
using namespace tavio::test;

TEST(CoverPreparation, Mp3CoverFileShowsItsEmbeddedFrontCover) {
  const TTempFolder temp;
  const std::string mp3 = temp.Path() + "01 Song.MP3";
  WriteBytes(mp3, Mp3WithTags("A", "B", "1999", "Rock", PictureFrame(4, JpegBytes(10, 10)) + PictureFrame(3, JpegBytes(40, 30))));
  TBitmap33 cover;
  PrepareCoverInto(cover, mp3, "B");
  EXPECT_EQ(cover.Width(), 40);
  EXPECT_EQ(cover.Height(), 30);

  WriteBytes(temp.Path() + "bare.mp3", Mp3WithTags("A", "B", "1999", "Rock"));
  TBitmap32 picture;
  EXPECT_THROW(LoadCoverPicture(picture, temp.Path() + "bare.mp3"), std::runtime_error);
}
