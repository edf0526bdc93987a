// JPEG pictures (members of the JPEG archive and movie frames).
#include "graphics/jpeg_picture.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LooksLikeJpeg(fuzz::Bytes(data, size));
  Picture target(3, 2);
  Picture before = target;
  PictureDecodeResult r = DecodeJpegPicture(fuzz::Bytes(data, size), target);
  if (r.target_written) {
    FUZZ_CHECK(target.bytes().size() == size_t(target.width()) * target.height() * 3);
  } else {
    FUZZ_CHECK(!r.ok && target == before);
  }
  return 0;
}
