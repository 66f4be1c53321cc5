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
