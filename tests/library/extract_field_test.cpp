#include "library/extract_field.h"

#include <gtest/gtest.h>

#include <string>

using tavio::ExtractField;

TEST(ExtractField, SortKeysAndTrackNumbers) {
  const std::string keys = "Album,Artist,Genre,Year";
  EXPECT_EQ(ExtractField(1, keys, ','), "Album");
  EXPECT_EQ(ExtractField(2, keys, ','), "Artist");
  EXPECT_EQ(ExtractField(4, keys, ','), "Year");
  EXPECT_EQ(ExtractField(5, keys, ','), "");
  EXPECT_EQ(ExtractField(0, keys, ','), "");
  EXPECT_EQ(ExtractField(1, "3/12", '/'), "3");
  EXPECT_EQ(ExtractField(1, "12", '/'), "12");
  EXPECT_EQ(ExtractField(2, "12", '/'), "");
}

TEST(ExtractField, EmptyFieldsBetweenAndAfterDelimiters) {
  EXPECT_EQ(ExtractField(2, "a,,c", ','), "");
  EXPECT_EQ(ExtractField(3, "a,,c", ','), "c");
  EXPECT_EQ(ExtractField(3, "a,b,", ','), "");
  EXPECT_EQ(ExtractField(2, "a,b,", ','), "b");
}

TEST(ExtractField, LooksOnlyAt255CharactersAfterADelimiter) {
  const std::string text = std::string(10, 'a') + "," + std::string(300, 'b');
  EXPECT_EQ(ExtractField(2, text, ','), std::string(255, 'b'));
}

TEST(ExtractField, MatchesTheDelimiterCaseSensitively) {
  EXPECT_EQ(ExtractField(2, "aXbxc", 'x'), "c");
}
