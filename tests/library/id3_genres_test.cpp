#include <gtest/gtest.h>

#include "library/id3_genres.h"

using namespace tavio;

TEST(ID3Genres, ListKeepsItsOwnSpellingsAndEndsAt125) {
  EXPECT_EQ(GenreName(0), "Blues");
  EXPECT_EQ(GenreName(17), "Rock");
  EXPECT_EQ(GenreName(40), "AlternRock");
  EXPECT_EQ(GenreName(67), "Psychadelic");
  EXPECT_EQ(GenreName(79), "Hard Rock");
  EXPECT_EQ(GenreName(80), "Folk");
  EXPECT_EQ(GenreName(85), "Bebob");
  EXPECT_EQ(GenreName(92), "Progessive Rock");
  EXPECT_EQ(GenreName(100), "Humour");
  EXPECT_EQ(GenreName(118), "Rhythmic Soul");
  EXPECT_EQ(GenreName(123), "A capella");
  EXPECT_EQ(GenreName(125), "Dance Hall");
  EXPECT_EQ(GenreName(126), std::nullopt);
  EXPECT_EQ(GenreName(-1), std::nullopt);
  for (int i = 0; i < kGenreCount; ++i) EXPECT_FALSE(GenreName(i)->empty()) << i;
}

TEST(ID3Genres, OnlyAParenthesisedListNumberBecomesAName) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"(17)", "Rock"},          {"(17)Rock", "Rock"},   {"Live (17) mix", "Rock"},
      {"( 17)", "Rock"},         {"($11)", "Rock"},      {"17)", "Rock"},
      {"(RX)", "(RX)"},          {"(CR)Remix", "(CR)Remix"}, {"17", "17"},
      {"(200)", "(200)"},        {"(126)", "(126)"},     {"(-1)", "(-1)"},
      {"(17 )", "(17 )"},        {")17(", ")17("},       {"()", "()"},
      {"Trip-Hop", "Trip-Hop"},  {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveGenreText(c.text), c.expected) << '"' << c.text << '"';
}
