// UTF-8, UTF-16 and the native code page: round trips, and what malformed
// input turns into.
#include <gtest/gtest.h>

#include <string>

#include "text/code_page.h"
#include "text/utf16.h"
#include "text/utf8.h"

using namespace tavio;
using namespace std::string_literals;

namespace {

// One text per script, and the characters on every UTF-8 length boundary.
const std::string kScripts[] = {
    "Caf\xC3\xA9 Mot\xC3\xB6rhead",                        // Latin-1
    "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE",                      // Кино
    "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1",              // Αθήνα
    "\xE6\x9D\xB1\xE4\xBA\xAC\xE4\xBA\x8B\xE5\xA4\x89",      // 東京事変
    "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",                      // שלום
    "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7",              // مرحبا
    "\xF0\x9F\x8E\xB5\xF0\x9F\x98\x80",                      // two emoji beyond the BMP
    "\x7F" "\xC2\x80" "\xDF\xBF" "\xE0\xA0\x80" "\xEF\xBF\xBF" "\xF0\x90\x80\x80" "\xF4\x8F\xBF\xBF",
};

}  // namespace

TEST(Utf16, EveryScriptSurvivesTheRoundTrip) {
  for (const std::string& text : kScripts) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  }
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x8E\xB5"), u"\xD83C\xDFB5");  // a surrogate pair
}

TEST(Utf16, MalformedInputBecomesReplacementCharactersNotAnError) {
  const std::string fffd = "\xEF\xBF\xBD";
  EXPECT_EQ(Utf16ToUtf8(u"a\xD83C" "b"), "a" + fffd + "b");  // lone high surrogate
  EXPECT_EQ(Utf16ToUtf8(u"\xDFB5\xD83C"), fffd + fffd);      // pair in the wrong order
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\xFFFD\xFFFD");        // overlong '/'
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\xFFFD\xFFFD\xFFFD");  // an encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("a\xE6\x9D"), u"a\xFFFD\xFFFD");      // cut off at the end
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80").front(), u'\xFFFD');  // beyond U+10FFFF
}

TEST(Utf8, ValidityIsToldAndMalformedBytesAreReplaced) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD"));  // U+FFFD itself is a character
  EXPECT_FALSE(IsValidUtf8("caf\xE9"));
  EXPECT_FALSE(IsValidUtf8("\xE6\x9D"));
  EXPECT_EQ(ValidUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(ValidUtf8("caf\xE9!"), "caf\xEF\xBF\xBD!");
  EXPECT_TRUE(IsAscii("plain\x7F"));
  EXPECT_FALSE(IsAscii("caf\xC3\xA9"));
}

TEST(CodePage, EveryByteOfTheNativeCodePageSurvivesTheRoundTrip) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string ansi(1, static_cast<char>(byte));
    const std::string utf8 = AnsiToUtf8(ansi);
    EXPECT_TRUE(IsValidUtf8(utf8)) << byte;
    EXPECT_EQ(Utf8ToAnsi(utf8), ansi) << byte;
    EXPECT_EQ(Utf16ToAnsi(Utf8ToUtf16(utf8)), ansi) << byte;
    EXPECT_EQ(ExactAnsi(utf8), ansi) << byte;
  }
  EXPECT_EQ(ExactAnsi("a?"), "a?");  // a real '?' is no missing character
  EXPECT_EQ(ExactAnsi("\xD0\x9A"), std::nullopt);
  EXPECT_EQ(ExactAnsi("caf\xE9"), std::nullopt);  // malformed
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");  // Windows-1252: the euro sign
  EXPECT_EQ(Utf8ToAnsi("\xD0\x9A\xF0\x9F\x8E\xB5"), "??");  // Cyrillic and an emoji: one '?' each
  EXPECT_EQ(Utf16ToAnsi(u"\xD83C\xDFB5"), "?");
}
