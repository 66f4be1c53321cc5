#include <gtest/gtest.h>

#include <string>

#include "text/long_path.h"

namespace tavio {
namespace {

struct TLongPathCase {
  const char* path;
  const char* expected;
};

TEST(LongPath, PrefixesAbsolutePathsAndLeavesOthersAlone) {
  const TLongPathCase cases[] = {
      {R"(C:\a)", R"(\\?\C:\a)"},
      {R"(c:\Music\Ä\)", R"(\\?\c:\Music\Ä\)"},
      {R"(C:\)", R"(\\?\C:\)"},
      {R"(\\server\share\x)", R"(\\?\UNC\server\share\x)"},
      {R"(//server/share/x/)", R"(\\?\UNC\server\share\x\)"},
      // Already extended or a device: the caller meant it as it stands.
      {R"(\\?\C:\a\.\b)", R"(\\?\C:\a\.\b)"},
      {R"(\\?\UNC\s\h)", R"(\\?\UNC\s\h)"},
      {R"(\\.\pipe\x)", R"(\\.\pipe\x)"},
      // Relative, rooted on the current drive, or relative to a drive.
      {R"(a\b)", R"(a\b)"},
      {R"(\a\b)", R"(\a\b)"},
      {R"(C:a)", R"(C:a)"},
      {"", ""},
  };
  for (const TLongPathCase& c : cases) EXPECT_EQ(LongPath(c.path), c.expected) << c.path;
}

// The system stops tidying a prefixed path, so a stray "/", "." or ".."
// would otherwise name a folder that does not exist.
TEST(LongPath, TidiesWhatThePrefixStopsTheSystemTidying) {
  const TLongPathCase cases[] = {
      {"C:/a/b", R"(\\?\C:\a\b)"},
      {R"(C:\a\\b\)", R"(\\?\C:\a\b\)"},
      {R"(C:\a\.\b)", R"(\\?\C:\a\b)"},
      {R"(C:\a\b\..\c)", R"(\\?\C:\a\c)"},
      {R"(C:\a\..\..\..\c)", R"(\\?\C:\c)"},
      {R"(C:\a\..)", R"(\\?\C:\)"},
      {R"(\\server\share\..\x)", R"(\\?\UNC\server\share\x)"},
      {R"(C:\..a\b..\.c)", R"(\\?\C:\..a\b..\.c)"},
  };
  for (const TLongPathCase& c : cases) EXPECT_EQ(LongPath(c.path), c.expected) << c.path;
}

TEST(LongPath, KeepsPathsPastMaxPathWhole) {
  std::string path = R"(C:\)";
  for (int i = 0; i < 40; ++i) path += "folder" + std::to_string(i) + "\\";
  path += "song.mp3";
  ASSERT_GT(path.size(), 260u);
  EXPECT_EQ(LongPath(path), R"(\\?\)" + path);
}

}  // namespace
}  // namespace tavio
