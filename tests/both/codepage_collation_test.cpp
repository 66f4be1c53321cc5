// Checks the platform text layer under both builds: the Win32 build goes
// through MultiByteToWideChar/WideCharToMultiByte, CompareStringEx and CompareStringOrdinal.
#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"
#include "library/folder_path.h"
#include "text/text_compare.h"

using namespace tavio;

TEST(Codepage, AccentedLetterSurvivesTheUtf8RoundTrip) {
  EXPECT_EQ(AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9"), "caf\xE9");
  EXPECT_EQ(Utf16ToAnsi(u"caf\u00E9"), "caf\xE9");
  EXPECT_EQ(AnsiToUtf8("plain"), "plain");
  EXPECT_EQ(AnsiToUtf8(""), "");
}

TEST(Codepage, MissingCharactersBecomeQuestionMarksNotLookAlikes) {
  EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "?");         // a CJK character
  EXPECT_EQ(Utf16ToAnsi(u"a\uFF0Fb"), "a?b");         // fullwidth solidus, not '/'
  EXPECT_EQ(Utf8ToAnsi("x\xFFy").front(), 'x');       // malformed input does not throw
}

TEST(LocaleCompare, LetterCaseIsIgnoredButLettersAreNot) {
  EXPECT_EQ(CompareTextIgnoringCase("abc", "ABC"), 0);
  EXPECT_EQ(CompareTextIgnoringCase("caf\xC3\xA9", "CAF\xC3\x89"), 0);                 // café
  EXPECT_EQ(CompareTextIgnoringCase("\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\x9C\xD0\x98\xD0\xA0"), 0);  // мир, МИР
  EXPECT_EQ(CompareTextIgnoringCase("\xCE\xB1\xCE\xB2\xCE\xB3", "\xCE\x91\xCE\x92\xCE\x93"), 0);  // αβγ, ΑΒΓ
  EXPECT_NE(CompareTextIgnoringCase("\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\xB8\xD0\xBB"), 0);  // мир, мил
  EXPECT_LT(CompareTextIgnoringCase("abc", "ABD"), 0);
  EXPECT_GT(CompareTextIgnoringCase("b", "A"), 0);
  EXPECT_LT(CompareTextIgnoringCase("", "a"), 0);
  EXPECT_LT(CompareTextIgnoringCase("ab", "abc"), 0);
}

// Paths are UTF-8; letters of every script fold as the file system folds them.
TEST(FileNameCase, NonAsciiLettersFoldAsTheFileSystemFoldsThem) {
  EXPECT_TRUE(SameFileName("C:\\Musik\\\xC3\x84rzte", "c:\\MUSIK\\\xC3\xA4RZTE"));  // A and a with diaeresis
  EXPECT_TRUE(SameFileName("\xC5\xA0" "ance", "\xC5\xA1" "ANCE"));                        // S and s with caron
  EXPECT_TRUE(SameFileName("\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0",
                           "\xD0\xBC\xD0\xA3\xD0\x97\xD0\xAB\xD0\x9A\xD0\x90"));  // Музыка, мУЗЫКА
  EXPECT_FALSE(SameFileName("\xC3\x84rzte", "\xC3\x85rzte"));                              // A with ring is another letter
  EXPECT_FALSE(SameFileName("abc", "abcd"));
}
