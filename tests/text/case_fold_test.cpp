// Simple case folding and the native text order built on it.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "text/case_fold.h"
#include "text/text_compare.h"
#include "text/utf8.h"

using namespace tavio;

TEST(CaseFold, CapitalsOfEveryScriptFoldAndNothingElseChanges) {
  struct Case {
    char32_t from, to;
  };
  const Case cases[] = {
      {U'A', U'a'},         {U'z', U'z'},         {U'\u00C4', U'\u00E4'}, {U'\u00DF', U'\u00DF'},  // Ä, ß stays
      {U'\u1E9E', U'\u00DF'},                                                                       // ẞ: status S
      {U'\u0130', U'\u0130'},                                                                       // İ: only F and T
      {U'\u0160', U'\u0161'}, {U'\u0178', U'\u00FF'}, {U'\u212A', U'k'},                            // Š, Ÿ, Kelvin
      {U'\u03A3', U'\u03C3'}, {U'\u03C2', U'\u03C3'}, {U'\u0386', U'\u03AC'},                       // Σ, ς, Ά
      {U'\u0401', U'\u0451'}, {U'\u042F', U'\u044F'}, {U'\u0531', U'\u0561'},                       // Ё, Я, Ա
      {U'\u10A0', U'\u2D00'}, {U'\uAB70', U'\u13A0'},                                               // Georgian, Cherokee
      {U'\uFF21', U'\uFF41'}, {U'\U00010400', U'\U00010428'},                                       // fullwidth A, Deseret
      {U'\u6771', U'\u6771'}, {U'\u05D0', U'\u05D0'}, {U'\u0645', U'\u0645'}, {U'\U0001F3B5', U'\U0001F3B5'},
  };
  for (const Case& c : cases) EXPECT_EQ(FoldCase(c.from), c.to) << std::hex << static_cast<uint32_t>(c.from);
}

TEST(CaseFold, FoldingTwiceChangesNothing) {
  for (char32_t c = 0; c < 0x20000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const char32_t once = FoldCase(c);
    ASSERT_EQ(FoldCase(once), once) << std::hex << static_cast<uint32_t>(c);
  }
}

TEST(CaseFold, TextsFoldWholeAndForeignBytesStayApart) {
  EXPECT_EQ(FoldCase("\xD0\x9C\xD0\xB8\xD1\x80 ABC"), "\xD0\xBC\xD0\xB8\xD1\x80 abc");  // Мир ABC
  EXPECT_EQ(FoldCase("K\xE2\x84\xAA"), "kk");  // the Kelvin sign is shorter once folded
  EXPECT_EQ(FoldCase("CAF\xC9"), "caf\xC9");   // not UTF-8: the byte stays as it is
  EXPECT_TRUE(EqualIgnoringCase("\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1", "\xCF\x83\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91"));
  EXPECT_FALSE(EqualIgnoringCase("caf\xE9", "caf\xE8"));
  EXPECT_FALSE(EqualIgnoringCase("caf\xE9", "caf\xEF\xBF\xBD"));
}

TEST(NativeTextOrder, CodePointOrderAfterFoldingAndAntisymmetric) {
  const std::string ordered[] = {
      "",  "a",  "AB",  "b",  "Z\xC3\xA9ro",  // Zéro
      "\xC3\x89lan",                           // Élan: U+00C9 folds to U+00E9, after every ASCII letter
      "\xD0\xAF\xD0\xB1",                      // Яб
      "\xD7\xA9",                              // ש
      "\xE6\x9D\xB1",                          // 東
      "\xF0\x9F\x8E\xB5",                      // emoji
  };
  for (size_t i = 0; i < std::size(ordered); ++i) {
    for (size_t j = 0; j < std::size(ordered); ++j) {
      const int32_t expected = i < j ? -1 : i > j ? 1 : 0;
      EXPECT_EQ(CompareTextIgnoringCase(ordered[i], ordered[j]), expected) << i << " " << j;
    }
  }
  EXPECT_EQ(CompareTextIgnoringCase("\xD1\x8F\xD0\x91", "\xD0\xAF\xD0\xB1"), 0);  // яБ, Яб
}
