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

// Beyond these a picture costs more than a cover may: libjpeg's own buffers
// (a progressive picture keeps every coefficient, 128 bytes per 8 x 8 block
// and component, whatever the output size; 150 MB for a 5000 x 5000 4:4:4
// picture) and its scans, each a pass over all of them. Encoders write about
// ten scans; a hundred is no real picture.
constexpr long kMaxLibjpegMemory = 160L * 1024 * 1024;
constexpr int kMaxScans = 100;

// libjpeg reports errors through a callback that must not return; we jump
// back to the caller's setjmp, carrying the message. Only C data lives between
// the setjmp and the jump, so no destructor is skipped.
struct TJpegErrors {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr cinfo, const char* message) {
  auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
  std::snprintf(errors->Message, sizeof errors->Message, "%s", message);
  std::longjmp(errors->Jump, 1);
}

[[noreturn]] void ExitOnError(j_common_ptr cinfo) {
  // Without a backing store, buffers beyond max_memory_to_use end up here.
  if (cinfo->err->msg_code == JERR_NO_BACKING_STORE) Fail(cinfo, "the picture needs more memory than allowed");
  auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->Message);
  std::longjmp(errors->Jump, 1);
}

// libjpeg only warns when the data ends early (of the file, or of a scan cut
// short by a marker) and fills the rest with grey; a truncated file is a
// broken picture to us. Other warnings (stray bytes between markers and the
// like) are common in real files and decode fine.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER))
    ExitOnError(cinfo);
}

void IgnoreMessage(j_common_ptr) {}

void InstallErrors(TJpegErrors& errors, jpeg_error_mgr*& target) {
  target = jpeg_std_error(&errors.Manager);
  errors.Manager.error_exit = ExitOnError;
  errors.Manager.emit_message = EmitMessage;
  errors.Manager.output_message = IgnoreMessage;
  errors.Message[0] = '\0';
}

// Counts the scans and the components they carry; libjpeg calls it before
// each step of reading, so every scan passes here at least once.
struct TScanWatch {
  jpeg_progress_mgr Manager;
  uint32_t ComponentsSeen;
};

void NoteScan(j_decompress_ptr d) {
  auto* watch = reinterpret_cast<TScanWatch*>(d->progress);
  for (int i = 0; i < d->comps_in_scan; ++i) watch->ComponentsSeen |= 1u << d->cur_comp_info[i]->component_index;
}

void WatchScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) Fail(cinfo, "the picture has more scans than any real picture");
  NoteScan(d);
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
  TScanWatch Scans{};

  TDecoder() {
    InstallErrors(Errors, Info.err);
    jpeg_create_decompress(&Info);
    Info.mem->max_memory_to_use = kMaxLibjpegMemory;
    Scans.Manager.progress_monitor = WatchScans;
    Info.progress = &Scans.Manager;
  }
  ~TDecoder() { jpeg_destroy_decompress(&Info); }
  TDecoder(const TDecoder&) = delete;
  TDecoder& operator=(const TDecoder&) = delete;
};

bool ReadHeader(TDecoder& d, const uint8_t* data, size_t size) {
  if (setjmp(d.Errors.Jump)) return false;
  jpeg_mem_src(&d.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&d.Info, TRUE);
  NoteScan(&d.Info);
  return true;
}

bool IsCmyk(const TDecoder& d) {
  return d.Info.jpeg_color_space == JCS_CMYK || d.Info.jpeg_color_space == JCS_YCCK;
}

// The largest of libjpeg's scalings 1, 1/2, 1/4 and 1/8 whose output stays
// within kMaxDecodedPixels (a 64-megapixel picture fits at 1/4 at the latest).
void ChooseScale(TDecoder& d) {
  auto scaled = [](int64_t side, int denominator) { return (side + denominator - 1) / denominator; };
  int denominator = 1;
  while (denominator < 8 && scaled(d.Info.image_width, denominator) * scaled(d.Info.image_height, denominator) >
                                kMaxDecodedPixels) {
    denominator *= 2;
  }
  d.Info.scale_num = 1;
  d.Info.scale_denom = static_cast<unsigned int>(denominator);
}

// A progressive picture has every coefficient of every component fully
// refined after its last scan; a sequential one has a scan for every component.
bool HasEveryScan(const TDecoder& d) {
  if (d.Scans.ComponentsSeen != (1u << d.Info.num_components) - 1) return false;
  if (!d.Info.progressive_mode) return true;
  for (int c = 0; c < d.Info.num_components; ++c)
    for (int k = 0; k < DCTSIZE2; ++k)
      if (d.Info.coef_bits[c][k] != 0) return false;
  return true;
}

// Sizes the output and sets up the passes; a picture with several scans is
// read whole here, so a missing scan shows before the bitmap is allocated.
bool StartDecompress(TDecoder& d) {
  if (setjmp(d.Errors.Jump)) return false;
  const bool cmyk = IsCmyk(d);
  // BGRA in memory is our little-endian ARGB; libjpeg-turbo sets the alpha byte to 255.
  d.Info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&d.Info);
  if (!HasEveryScan(d)) Fail(reinterpret_cast<j_common_ptr>(&d.Info), "the data ends before the picture's last scan");
  return true;
}

// The bitmap is already sized; nothing here owns anything with a destructor.
bool ReadPixels(TDecoder& d, TBitmap32& out) {
  if (setjmp(d.Errors.Jump)) return false;
  const bool cmyk = IsCmyk(d);
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
  auto failure = [&decoder] { return ERasterError(std::string("Cannot decode JPEG: ") + decoder.Errors.Message); };
  if (!ReadHeader(decoder, data, size)) throw failure();
  // The header's size is checked before anything is allocated for it.
  CheckPictureSize(decoder.Info.image_width, decoder.Info.image_height);
  ChooseScale(decoder);
  if (!StartDecompress(decoder)) throw failure();
  TBitmap32 out(static_cast<int32_t>(decoder.Info.output_width), static_cast<int32_t>(decoder.Info.output_height));
  if (!ReadPixels(decoder, out)) throw failure();
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
