#include "raster/jpeg_file.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "raster/file_bytes.h"
#include "raster/picture_limits.h"
#include "raster/raster_error.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <jerror.h>

namespace tavio {

namespace {

// libjpeg reports errors through a callback that must not return; we jump
// back to the caller's setjmp, carrying the message. Only C data lives between
// the setjmp and the jump, so no destructor is skipped.
struct TJpegErrors {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ExitOnError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->Message);
  std::longjmp(errors->Jump, 1);
}

// libjpeg only warns when the data ends early and fills the rest with grey;
// a truncated file is a broken picture to us. Other warnings (stray bytes
// between markers and the like) are common in real files and decode fine.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) ExitOnError(cinfo);
}

void IgnoreMessage(j_common_ptr) {}

void InstallErrors(TJpegErrors& errors, jpeg_error_mgr*& target) {
  target = jpeg_std_error(&errors.Manager);
  errors.Manager.error_exit = ExitOnError;
  errors.Manager.emit_message = EmitMessage;
  errors.Manager.output_message = IgnoreMessage;
  errors.Message[0] = '\0';
}

// Adobe writes CMYK inverted (0 = full ink), which is what nearly every
// CMYK JPEG in the wild is.
void CmykRowToArgb(const JSAMPLE* cmyk, TColor32* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    const uint32_t c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
    out[x] = Color32((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
  }
}

// A decompressor with its error manager; destroyed with it. The stages below
// each arm their own setjmp, since a jump may only return into a live frame.
struct TDecoder {
  jpeg_decompress_struct Info;
  TJpegErrors Errors;

  TDecoder() {
    InstallErrors(Errors, Info.err);
    jpeg_create_decompress(&Info);
  }
  ~TDecoder() { jpeg_destroy_decompress(&Info); }
  TDecoder(const TDecoder&) = delete;
  TDecoder& operator=(const TDecoder&) = delete;
};

bool ReadHeader(TDecoder& d, const uint8_t* data, size_t size) {
  if (setjmp(d.Errors.Jump)) return false;
  jpeg_mem_src(&d.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d.Info, TRUE);
  return true;
}

bool IsCmyk(const TDecoder& d) {
  return d.Info.jpeg_color_space == JCS_CMYK || d.Info.jpeg_color_space == JCS_YCCK;
}

// The bitmap is already sized; nothing here owns anything with a destructor.
bool ReadPixels(TDecoder& d, TBitmap32& out) {
  if (setjmp(d.Errors.Jump)) return false;
  const bool cmyk = IsCmyk(d);
  // BGRA in memory is our little-endian ARGB; libjpeg-turbo sets the alpha byte to 255.
  d.Info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&d.Info);
  JSAMPARRAY cmykRow =
      cmyk ? (*d.Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.Info), JPOOL_IMAGE, d.Info.output_width * 4, 1)
           : nullptr;
  while (d.Info.output_scanline < d.Info.output_height) {
    TColor32* row = out.Row(static_cast<int32_t>(d.Info.output_scanline));
    if (cmyk) {
      jpeg_read_scanlines(&d.Info, cmykRow, 1);
      CmykRowToArgb(cmykRow[0], row, out.Width());
    } else {
      JSAMPROW target = reinterpret_cast<JSAMPROW>(row);
      jpeg_read_scanlines(&d.Info, &target, 1);
    }
  }
  jpeg_finish_decompress(&d.Info);
  return true;
}

struct TEncodeJob {
  const TBitmap32* Bitmap;
  int Quality;
  unsigned char* Buffer;
  unsigned long Size;
  char Message[JMSG_LENGTH_MAX];
};

bool RunEncode(TEncodeJob& job) {
  jpeg_compress_struct cinfo;
  TJpegErrors errors;
  InstallErrors(errors, cinfo.err);
  if (setjmp(errors.Jump)) {
    std::memcpy(job.Message, errors.Message, sizeof job.Message);
    jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &job.Buffer, &job.Size);
  cinfo.image_width = static_cast<JDIMENSION>(job.Bitmap->Width());
  cinfo.image_height = static_cast<JDIMENSION>(job.Bitmap->Height());
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, job.Quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(
        const_cast<TColor32*>(job.Bitmap->Row(static_cast<int32_t>(cinfo.next_scanline))));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

TBitmap32 DecodeJpeg(const uint8_t* data, size_t size) {
  if (size == 0) throw ERasterError("JPEG data is empty");
  if (size > ULONG_MAX) throw ERasterError("JPEG data is too large");
  TDecoder decoder;
  if (!ReadHeader(decoder, data, size)) throw ERasterError(std::string("Cannot decode JPEG: ") + decoder.Errors.Message);
  // The header's size is checked before anything is allocated for it; the
  // output size equals it since nothing is scaled.
  CheckPictureSize(decoder.Info.image_width, decoder.Info.image_height);
  TBitmap32 out(static_cast<int32_t>(decoder.Info.image_width), static_cast<int32_t>(decoder.Info.image_height));
  if (!ReadPixels(decoder, out)) throw ERasterError(std::string("Cannot decode JPEG: ") + decoder.Errors.Message);
  return out;
}

std::vector<uint8_t> EncodeJpeg(const TBitmap32& bitmap, int quality) {
  if (bitmap.Empty()) throw ERasterError("Cannot encode an empty bitmap as JPEG");
  TEncodeJob job{&bitmap, quality, nullptr, 0, {}};
  const bool ok = RunEncode(job);
  std::vector<uint8_t> bytes;
  if (ok) bytes.assign(job.Buffer, job.Buffer + job.Size);
  std::free(job.Buffer);
  if (!ok) throw ERasterError(std::string("Cannot encode JPEG: ") + job.Message);
  return bytes;
}

void SaveJpegFile(const TBitmap32& bitmap, const std::string& path, int quality) {
  WriteFileBytes(path, EncodeJpeg(bitmap, quality));
}

}  // namespace tavio
