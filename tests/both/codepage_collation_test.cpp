// Checks the platform text layer under both builds: the Win32 build goes
// through MultiByteToWideChar/WideCharToMultiByte, CompareStringA and CompareStringOrdinal.
#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"
#include "library/folder_path.h"
#include "library/locale_compare.h"

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
  EXPECT_EQ(CompareTextIgnoringCase("caf\xE9", "CAF\xC9"), 0);
  EXPECT_LT(CompareTextIgnoringCase("abc", "ABD"), 0);
  EXPECT_GT(CompareTextIgnoringCase("b", "A"), 0);
  EXPECT_LT(CompareTextIgnoringCase("", "a"), 0);
  EXPECT_LT(CompareTextIgnoringCase("ab", "abc"), 0);
}

#ifdef _WIN32
// Win32 paths are UTF-8 and fold as NTFS folds their UTF-16 forms.
TEST(FileNameCase, NonAsciiLettersFoldAsTheFileSystemFoldsThem) {
  EXPECT_TRUE(SameFileName("C:\\Musik\\\xC3\x84rzte", "c:\\MUSIK\\\xC3\xA4RZTE"));  // A and a with diaeresis
  EXPECT_TRUE(SameFileName("\xC5\xA0" "ance", "\xC5\xA1" "ANCE"));                        // S and s with caron
  EXPECT_TRUE(SameFileName("\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0",
                           "\xD0\xBC\xD0\xA3\xD0\x97\xD0\xAB\xD0\x9A\xD0\x90"));  // Музыка, мУЗЫКА
  EXPECT_FALSE(SameFileName("\xC3\x84rzte", "\xC3\x85rzte"));                              // A with ring is another letter
  EXPECT_FALSE(SameFileName("abc", "abcd"));
}
#else
TEST(FileNameCase, NonAsciiLettersFoldAsTheFileSystemFoldsThem) {
  EXPECT_TRUE(SameFileName("C:\\Musik\\\xC4rzte", "c:\\MUSIK\\\xE4RZTE"));  // A and a with diaeresis
  EXPECT_TRUE(SameFileName("\x8A" "ance", "\x9A" "ANCE"));                      // S and s with caron
  EXPECT_FALSE(SameFileName("\xC4rzte", "\xC5rzte"));                          // A with ring is another letter
  EXPECT_FALSE(SameFileName("abc", "abcd"));
}
#endif
