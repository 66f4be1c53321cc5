// Hostile input files that a small file makes costly (decompression bombs,
// huge frame lists, oversized pictures), written on demand because several
// are large. Shared by the corpus replay, the parser tests and the bench.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace tavio::test {

struct THostileFile {
  std::string Name;  // the extension says which parser takes it
  std::string What;
  std::function<void(const std::string& path)> Write;
  std::vector<std::string> Targets;  // the fuzz targets whose corpus it joins
  char PictureSelector = 0;          // the picture target's extension: 0 ".jpg", 1 ".bmp"
};

namespace hostile {

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A JPEG through libjpeg with the caller's settings; pixel(x, y, c) gives the
// sample of component c.
inline std::string EncodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                              const std::function<void(jpeg_compress_struct&)>& configure,
                              const std::function<uint8_t(int, int, int)>& pixel) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  configure(cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * components);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < components; ++c) row[static_cast<size_t>(x) * components + c] = pixel(x, y, c);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

// The marker segments of a JPEG after SOI, each a scan's entropy-coded data
// included; the last one is EOI.
inline std::vector<std::string> JpegSegments(const std::string& jpeg) {
  std::vector<std::string> segments;
  size_t at = 2;
  while (at + 1 < jpeg.size()) {
    const auto marker = static_cast<uint8_t>(jpeg[at + 1]);
    if (marker == 0xD9) {
      segments.push_back(jpeg.substr(at, 2));
      break;
    }
    size_t end = at + 2 + (static_cast<uint8_t>(jpeg[at + 2]) << 8 | static_cast<uint8_t>(jpeg[at + 3]));
    if (marker == 0xDA) {
      // Entropy-coded data runs to the next marker that is neither a stuffed
      // zero nor a restart marker.
      while (end + 1 < jpeg.size()) {
        const auto next = static_cast<uint8_t>(jpeg[end + 1]);
        if (static_cast<uint8_t>(jpeg[end]) == 0xFF && next != 0 && (next < 0xD0 || next > 0xD7)) break;
        ++end;
      }
    }
    segments.push_back(jpeg.substr(at, end - at));
    at = end;
  }
  return segments;
}

inline bool IsMarker(const std::string& segment, uint8_t marker) {
  return segment.size() >= 2 && static_cast<uint8_t>(segment[1]) == marker;
}

inline std::string Join(const std::vector<std::string>& segments) {
  std::string out = "\xFF\xD8";
  for (const std::string& s : segments) out += s;
  return out;
}

inline uint8_t Gradient(int x, int y, int c) { return static_cast<uint8_t>((x * 7 + y * 3 + c * 50) & 0xFF); }

// A 16 x 16 progressive CMYK picture whose frame header then claims
// 16384 x 4096: its coefficient buffers would take 512 MB.
inline std::string JpegBombCmyk() {
  std::string jpeg = EncodeJpeg(16, 16, 4, JCS_CMYK, [](jpeg_compress_struct& c) { jpeg_simple_progression(&c); },
                                Gradient);
  const size_t sof = jpeg.find("\xFF\xC2");
  jpeg[sof + 5] = 0x10, jpeg[sof + 6] = 0x00;  // height 4096
  jpeg[sof + 7] = 0x40, jpeg[sof + 8] = 0x00;  // width 16384
  return jpeg;
}

// A flat 4096 x 4096 grey progressive picture whose one AC scan (with its
// Huffman table) is repeated 3000 times: little data, a pass over 256 K blocks each.
inline std::string JpegManyScans() {
  static const jpeg_scan_info kScript[2] = {{1, {0}, 0, 0, 0, 0}, {1, {0}, 1, 63, 0, 0}};
  const std::string jpeg = EncodeJpeg(
      4096, 4096, 1, JCS_GRAYSCALE,
      [](jpeg_compress_struct& c) {
        c.scan_info = kScript;
        c.num_scans = 2;
      },
      [](int, int, int) -> uint8_t { return 128; });
  std::vector<std::string> segments = JpegSegments(jpeg);
  // The AC scan and the table written just before it.
  const size_t sos = segments.size() - 2;
  const std::string repeated = segments[sos - 1] + segments[sos];
  std::vector<std::string> out(segments.begin(), segments.end() - 1);
  for (int i = 1; i < 3000; ++i) out.push_back(repeated);
  out.push_back(segments.back());
  return Join(out);
}

// A 64 x 64 progressive picture that ends (with EOI) after its fourth scan.
inline std::string JpegEndsBeforeLastScan() {
  const std::string jpeg = EncodeJpeg(64, 64, 3, JCS_RGB, [](jpeg_compress_struct& c) { jpeg_simple_progression(&c); },
                                      Gradient);
  std::vector<std::string> segments = JpegSegments(jpeg);
  std::vector<std::string> out;
  int scans = 0;
  for (const std::string& s : segments) {
    if (IsMarker(s, 0xDA) && ++scans > 4) break;
    out.push_back(s);
  }
  out.push_back("\xFF\xD9");
  return Join(out);
}

// Not hostile: a real 5000 x 5000 cover, which must still load.
inline std::string JpegLargeCover() {
  return EncodeJpeg(5000, 5000, 3, JCS_RGB, [](jpeg_compress_struct& c) { jpeg_set_quality(&c, 90, TRUE); }, Gradient);
}

// An ID3v2.2 tag of four million empty "TT2" frames (6 bytes each) before a
// short audio stand-in.
inline std::string Id3FourMillionFrames() {
  constexpr uint32_t kFrames = 4'000'000;
  const uint32_t tagSize = kFrames * 6;
  std::string bytes("ID3\x02\x00\x00", 6);  // version 2.2, no flags
  for (int shift : {21, 14, 7, 0}) bytes += static_cast<char>((tagSize >> shift) & 0x7F);
  bytes.reserve(bytes.size() + tagSize + 16);
  for (uint32_t i = 0; i < kFrames; ++i) bytes.append("TT2\x00\x00\x00", 6);
  return bytes + "audio data";
}

// An unsynchronised ID3v2.3 tag of 256 MB, nearly all of it one APIC frame
// whose picture the file system leaves sparse, with text frames before and
// after it.
inline void WriteSparseId3Tag(const std::string& path) {
  constexpr uint32_t kTagSize = 0x0FFFFFFF;  // the largest syncsafe size
  auto frame = [](const std::string& id, uint32_t size) {
    std::string header = id;
    for (int shift : {24, 16, 8, 0}) header += static_cast<char>((size >> shift) & 0xFF);
    return header + std::string(2, '\0');  // flags
  };
  const std::string album = std::string(1, '\0') + "Album";
  const std::string apicHead = std::string(1, '\0') + "image/jpeg" + std::string(1, '\0') + "\x03" + std::string(1, '\0');
  const std::string track = std::string(1, '\0') + "7";
  const uint32_t apicSize = kTagSize - 10 - static_cast<uint32_t>(album.size()) - 10 - 10 - static_cast<uint32_t>(track.size());
  std::string head("ID3\x03\x00\x80", 6);  // version 2.3, unsynchronisation
  for (int shift : {21, 14, 7, 0}) head += static_cast<char>((kTagSize >> shift) & 0x7F);
  head += frame("TALB", static_cast<uint32_t>(album.size())) + album + frame("APIC", apicSize) + apicHead;
  const std::string tail = frame("TRCK", static_cast<uint32_t>(track.size())) + track + "audio";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(head.data(), 1, head.size(), f);
  const long long tailAt = 10 + 10 + static_cast<long long>(album.size()) + 10 + apicSize;
  fseeko(f, static_cast<off_t>(tailAt), SEEK_SET);
  std::fwrite(tail.data(), 1, tail.size(), f);
  std::fclose(f);
}

// A 32-bit bottom-up bitmap header for width x height; the pixels are left
// to the file system (a sparse, all-zero file).
inline void WriteSparseBmp(const std::string& path, uint32_t width, uint32_t height) {
  const uint64_t imageSize = uint64_t{width} * height * 4;
  std::string header;
  auto put = [&header](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) header += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  header += "BM";
  put(static_cast<uint32_t>(54 + imageSize), 4);  // bfSize
  put(0, 4);                                      // reserved
  put(54, 4);                                     // bfOffBits
  put(40, 4);                                     // biSize
  put(width, 4);
  put(height, 4);
  put(1, 2);   // planes
  put(32, 2);  // bits per pixel
  put(0, 4);   // BI_RGB
  put(static_cast<uint32_t>(imageSize), 4);
  put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(header.data(), 1, header.size(), f);
  std::fseek(f, static_cast<long>(54 + imageSize - 1), SEEK_SET);
  std::fputc(0, f);
  std::fclose(f);
}

// One 64 KB section name and 32768 keys in 128 KB of text.
inline std::string IniHugeSection() {
  std::string text = "[" + std::string(65536, 'S') + "]\n";
  for (int i = 0; i < 32768; ++i) text += "k\n";
  return text;
}

}  // namespace hostile

// Every hostile file, named so its extension picks the parser.
inline std::vector<THostileFile> HostileFiles() {
  using namespace hostile;
  auto bytes = [](std::string (*make)()) {
    return [make](const std::string& path) { WriteBytes(path, make()); };
  };
  const std::vector<std::string> jpeg = {"jpeg", "picture"};
  return {
      {"jpeg_bomb_cmyk.jpg", "progressive CMYK, 16384 x 4096 declared, 1 KB", bytes(JpegBombCmyk), jpeg},
      {"jpeg_3000_scans.jpg", "progressive grey 4096 x 4096 with 3000 scans", bytes(JpegManyScans), jpeg},
      {"jpeg_ends_before_last_scan.jpg", "progressive, EOI after 4 of 10 scans", bytes(JpegEndsBeforeLastScan), jpeg},
      {"cover_5000x5000.jpg", "a real baseline cover of 5000 x 5000 (not hostile)", bytes(JpegLargeCover), jpeg},
      {"id3_four_million_frames.mp3", "ID3v2.2 tag of 4 million empty frames, 24 MB", bytes(Id3FourMillionFrames),
       {"id3"}},
      {"id3_sparse_256MB_tag.mp3", "unsynchronised ID3v2.3 tag of 256 MB, one sparse APIC frame", WriteSparseId3Tag,
       {"id3", "embedded_picture"}},
      {"bmp_8192x8192.bmp", "valid 32-bit bitmap, 256 MB",
       [](const std::string& path) { WriteSparseBmp(path, 8192, 8192); }, {"bmp"}},
      {"bmp_4096x4096.bmp", "valid 32-bit bitmap, 64 MB (16 megapixels)",
       [](const std::string& path) { WriteSparseBmp(path, 4096, 4096); }, {"bmp", "picture"}, 1},
      {"ini_huge_section.ini", "one 64 KB section name, 32768 keys", bytes(IniHugeSection), {"ini_text"}},
  };
}

}  // namespace tavio::test
