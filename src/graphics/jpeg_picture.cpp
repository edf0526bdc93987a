#include "graphics/jpeg_picture.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

namespace quill {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// decoder, which then frees everything libjpeg allocated.
struct JpegErrors {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  char warning[JMSG_LENGTH_MAX];
  int warnings;
};

void ErrorExit(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  if (errors->warnings++ == 0) (*cinfo->err->format_message)(cinfo, errors->warning);
  ++cinfo->err->num_warnings;
}

void OutputMessage(j_common_ptr) {}

enum class Outcome { kDone, kHeaderFailed, kScanFailed };

void CmykRowToBgr(const JSAMPLE* in, uint8_t* out, int width, bool inverted) {
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    unsigned c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    out[0] = static_cast<uint8_t>(y * k / 255);
    out[1] = static_cast<uint8_t>(m * k / 255);
    out[2] = static_cast<uint8_t>(c * k / 255);
  }
}

// Holds only trivially destructible locals, so the jump out of libjpeg skips no destructor.
Outcome RunDecoder(const uint8_t* data, size_t size, Picture& target, JpegErrors& errors) {
  jpeg_decompress_struct cinfo;
  cinfo.err = jpeg_std_error(&errors.mgr);
  errors.mgr.error_exit = ErrorExit;
  errors.mgr.emit_message = EmitMessage;
  errors.mgr.output_message = OutputMessage;
  volatile bool sized = false;
  if (setjmp(errors.jump)) {
    JDIMENSION done = sized ? cinfo.output_scanline : 0;
    jpeg_destroy_decompress(&cinfo);
    if (!sized) return Outcome::kHeaderFailed;
    for (int y = static_cast<int>(done); y < target.height(); ++y) {
      std::memset(target.Row(y), 0, static_cast<size_t>(target.stride()));
    }
    return Outcome::kScanFailed;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  if (uint64_t{cinfo.image_width} * cinfo.image_height * 3 > kMaxPictureBytes) {
    std::snprintf(errors.message, sizeof errors.message, "picture of %u x %u is too large",
                  cinfo.image_width, cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return Outcome::kHeaderFailed;
  }
  jpeg_start_decompress(&cinfo);
  const int width = static_cast<int>(cinfo.output_width);
  const int height = static_cast<int>(cinfo.output_height);
  JSAMPARRAY cmyk_row = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                          JPOOL_IMAGE, cinfo.output_width * 4, 1)
                             : nullptr;
  if (target.width() != width || target.height() != height) target.Create(width, height);
  sized = true;
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW row = cmyk ? cmyk_row[0] : target.Row(y);
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
    if (cmyk) CmykRowToBgr(cmyk_row[0], target.Row(y), width, cinfo.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return Outcome::kDone;
}

}  // namespace

bool LooksLikeJpeg(std::span<const uint8_t> file) {
  return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

PictureDecodeResult DecodeJpegPicture(std::span<const uint8_t> file, Picture& target) {
  PictureDecodeResult result;
  JpegErrors errors{};
  Outcome outcome = RunDecoder(file.data(), file.size(), target, errors);
  result.target_written = outcome != Outcome::kHeaderFailed;
  if (outcome != Outcome::kDone) {
    result.ok = false;
    result.error = errors.message;
  } else if (errors.warnings > 0) {
    // libjpeg goes on past a cut or corrupt scan; the picture is whole but not what was stored.
    result.ok = false;
    result.error = errors.warning;
  }
  return result;
}

}  // namespace quill
