// Album folders for the scan tests, natively and under Wine: MP3 files that
// carry only an ID3v2.3 tag (with embedded pictures if asked), small JPEG and
// bitmap covers, broken pictures.
#pragma once
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "raster/bitmap32.h"
#include "raster/bmp_file.h"
#include "raster/jpeg_file.h"
#include "text/utf16.h"

namespace tavio::test {

inline std::string BigEndian32(uint32_t n) {
  return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8), static_cast<char>(n)};
}

inline std::string TextFrame(const std::string& id, const std::string& text) {
  return id +                                                    // frame id
         BigEndian32(static_cast<uint32_t>(text.size() + 1)) +  // frame size
         std::string("\x00\x00", 2) +                            // flags
         std::string(1, '\x00') +                                // ISO-8859-1
         text;
}

// A text frame in UTF-16 with a little-endian byte-order mark, as most
// taggers write texts beyond ISO-8859-1; text is UTF-8.
inline std::string Utf16TextFrame(const std::string& id, const std::string& text) {
  std::string data = "\x01" "\xFF\xFE";  // UTF-16 with mark, little-endian
  for (const char16_t unit : Utf8ToUtf16(text)) data += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return id + BigEndian32(static_cast<uint32_t>(data.size())) + std::string("\x00\x00", 2) + data;
}

// An APIC frame: picture type (3 front cover, 4 back cover) and JPEG bytes.
inline std::string PictureFrame(uint8_t type, const std::string& jpeg) {
  const std::string data = std::string(1, '\x00') +             // ISO-8859-1
                           std::string("image/jpeg\x00", 11) +  // MIME type
                           std::string(1, static_cast<char>(type)) +
                           std::string(1, '\x00') +             // empty description
                           jpeg;
  return "APIC" + BigEndian32(static_cast<uint32_t>(data.size())) + std::string("\x00\x00", 2) + data;
}

// An ID3v2.3 tag of the frames given; no audio follows.
inline std::string Mp3WithFrames(const std::string& frames) {
  const uint32_t n = static_cast<uint32_t>(frames.size());
  return "ID3" + std::string("\x03\x00", 2) +  // version 2.3
         std::string(1, '\x00') +               // flags
         std::string{static_cast<char>((n >> 21) & 0x7F), static_cast<char>((n >> 14) & 0x7F),
                     static_cast<char>((n >> 7) & 0x7F), static_cast<char>(n & 0x7F)} +  // syncsafe size
         frames;
}

// An ID3v2.3 tag naming artist, album, year and genre, then the picture
// frames given; no audio follows.
inline std::string Mp3WithTags(const std::string& artist, const std::string& album, const std::string& year,
                               const std::string& genre, const std::string& pictureFrames = "") {
  return Mp3WithFrames(TextFrame("TPE1", artist) + TextFrame("TALB", album) + TextFrame("TYER", year) +
                       TextFrame("TCON", genre) + pictureFrames);
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline TBitmap32 PlainPicture(int32_t width, int32_t height, TColor32 color) {
  TBitmap32 picture(width, height);
  picture.Clear(color);
  return picture;
}

// A plain JPEG of that size, as a file holds it.
inline std::string JpegBytes(int32_t width, int32_t height) {
  const std::vector<uint8_t> bytes = EncodeJpeg(PlainPicture(width, height, Color32(40, 120, 200)));
  return std::string(bytes.begin(), bytes.end());
}

// The path as the UTF-8 the file functions take; under Windows string() would
// give the code page and lose every letter it has no room for.
inline std::string Utf8PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline void WriteJpeg(const std::filesystem::path& path, int32_t width, int32_t height) {
  std::filesystem::create_directories(path.parent_path());
  SaveJpegFile(PlainPicture(width, height, Color32(40, 120, 200)), Utf8PathText(path));
}

inline void WriteBmp(const std::filesystem::path& path, int32_t width, int32_t height) {
  std::filesystem::create_directories(path.parent_path());
  SaveBmpFile(PlainPicture(width, height, Color32(200, 40, 40)), Utf8PathText(path));
}

// Named like a JPEG, but no decoder accepts it.
inline void WriteBrokenPicture(const std::filesystem::path& path) { WriteBytes(path, "not a picture"); }

}  // namespace tavio::test
