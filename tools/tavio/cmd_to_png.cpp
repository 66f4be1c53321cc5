// tavio to-png IN OUT.png: turns a picture into a PNG (for screenshots in the
// README). Uncompressed deflate blocks keep the writer tiny; size is no concern.
#include <array>
#include <cstdint>
#include <fstream>
#include <string>

#include "command.h"
#include "raster/bitmap32.h"
#include "raster/picture_file.h"

namespace tavio::tool {
namespace {

uint32_t Crc32(const std::string& bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutBigEndian32(std::string& out, uint32_t n) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((n >> shift) & 0xFF));
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
  PutBigEndian32(png, static_cast<uint32_t>(data.size()));
  const std::string typed = type + data;
  png += typed;
  PutBigEndian32(png, Crc32(typed));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& raw) {
  std::string z("\x78\x01", 2);
  size_t pos = 0;
  do {
    const size_t n = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<char>(n & 0xFF));
    z.push_back(static_cast<char>(n >> 8));
    z.push_back(static_cast<char>(~n & 0xFF));
    z.push_back(static_cast<char>((~n >> 8) & 0xFF));
    z.append(raw, pos, n);
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian32(z, (b << 16) | a);
  return z;
}

int RunToPng(const Args& args) {
  if (args.size() != 2) throw UsageError{"expected IN and OUT.png"};
  TBitmap32 picture;
  LoadFromFile(picture, args[0]);
  std::string header;
  PutBigEndian32(header, static_cast<uint32_t>(picture.Width()));
  PutBigEndian32(header, static_cast<uint32_t>(picture.Height()));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  std::string raw;
  raw.reserve(static_cast<size_t>(picture.Height()) * (1 + 3 * picture.Width()));
  for (int32_t y = 0; y < picture.Height(); ++y) {
    raw.push_back('\0');  // filter: none
    for (int32_t x = 0; x < picture.Width(); ++x) {
      const TColor32 c = picture.GetPixel(x, y);
      raw.push_back(static_cast<char>(RedOf(c)));
      raw.push_back(static_cast<char>(GreenOf(c)));
      raw.push_back(static_cast<char>(BlueOf(c)));
    }
  }
  std::string png("\x89PNG\r\n\x1a\n", 8);
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(raw));
  PutChunk(png, "IEND", "");
  std::ofstream out(args[1], std::ios::binary);
  out << png;
  if (!out) throw std::runtime_error("cannot write " + args[1]);
  return 0;
}

}  // namespace

TAVIO_COMMAND("to-png", "to-png IN OUT.png", RunToPng);

}  // namespace tavio::tool
