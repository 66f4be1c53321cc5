// Test files for the tag readers: byte strings written into the test's own
// temporary folder, and the syncsafe size fields their headers need.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace tavio::test {

// A file named after the running test plus suffix, holding exactly bytes.
inline std::string WriteTagFile(const std::string& bytes, const std::string& suffix = "") {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "tavio_id3";
  std::filesystem::create_directories(folder);
  const std::filesystem::path path =
      folder / (std::string(info->test_suite_name()) + "." + info->name() + suffix + ".mp3");
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

// Unsynchronisation as a writer applies it: a zero byte after every $FF that
// a zero, a byte of $E0 and above, or the end of the data follows.
inline std::string Unsynchronise(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += bytes[i];
    const bool last = i + 1 == bytes.size();
    if (static_cast<uint8_t>(bytes[i]) == 0xFF && (last || bytes[i + 1] == '\0' || static_cast<uint8_t>(bytes[i + 1]) >= 0xE0))
      out += '\0';
  }
  return out;
}

inline std::string Syncsafe(size_t value) {
  std::string out;
  for (int shift : {21, 14, 7, 0}) out += static_cast<char>((value >> shift) & 0x7F);
  return out;
}

// 128-byte ID3v1 tag: the fields are padded with NUL bytes to their widths.
inline std::string Id3v1Tag(const std::string& title, const std::string& artist, const std::string& album,
                            const std::string& year, const std::string& comment, uint8_t genre) {
  const auto field = [](std::string text, size_t width) {
    text.resize(width, '\0');
    return text;
  };
  return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
         field(comment, 30) + std::string(1, static_cast<char>(genre));
}

}  // namespace tavio::test
