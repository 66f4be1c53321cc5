#include <gtest/gtest.h>

#include "library/id3_malformed_tags.h"
#include "library/id3_test_files.h"
#include "library/id3v2_tag.h"

using namespace tavio;

// Sizes are checked against the file before anything is allocated, so these
// end the frame list quietly instead of reporting an error (or, in a 32-bit
// process, running out of memory).
TEST(ID3v2Tag, SizesClaimingMoreThanTheFileHoldsEndTheFrameListQuietly) {
  for (const test::TMalformedTag& malformed : test::MalformedTags()) {
    SCOPED_TRACE(malformed.name);
    TID3v2Tag tag;
    ::testing::internal::CaptureStderr();
    tag.ReadFromFile(test::WriteTagFile(malformed.bytes, malformed.name));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(tag.Exists());
    EXPECT_EQ(tag.Frames().size(), malformed.frames);
    EXPECT_EQ(tag.GetAlbum(), malformed.album);
    EXPECT_EQ(tag.GetArtist(), malformed.artist);
  }
}
