// Packed pictures: the header checks and the three stages, into a picture that was in use.
#include "graphics/packed_picture.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Picture target(3, 2);
  Picture before = target;
  PictureDecodeResult r = DecodePackedPicture(fuzz::Bytes(data, size), target);
  auto header = ReadPackedHeader(fuzz::Bytes(data, size));
  if (r.target_written) {
    FUZZ_CHECK(header && target.width() == header->width && target.height() == header->height);
    FUZZ_CHECK(target.bytes().size() == header->raw_size());
  } else {
    FUZZ_CHECK(!r.ok && target == before);
  }
  return 0;
}
