// Packed pictures: the header checks and the three stages, into a picture that was in use.
#include "fuzz/support/fuzz_support.h"
#include "graphics/packed_picture.h"

using namespace quill;

namespace {

// Headers are checked at every size, but pictures are decoded only up to this size: past it the
// same code spends the fuzzer's time clearing hundreds of megabytes.
constexpr uint64_t kDecodedBytesMax = 4u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto header = ReadPackedHeader(fuzz::Bytes(data, size));
  if (header && PackedHeaderProblem(*header).empty() &&
      (header->raw_size() > kDecodedBytesMax ||
       (header->run_length() && header->intermediate_size > kDecodedBytesMax))) {
    return 0;
  }
  Picture target(3, 2);
  Picture before = target;
  PictureDecodeResult r = DecodePackedPicture(fuzz::Bytes(data, size), target);
  if (r.target_written) {
    FUZZ_CHECK(header && target.width() == header->width && target.height() == header->height);
    FUZZ_CHECK(target.bytes().size() == header->raw_size());
  } else {
    FUZZ_CHECK(!r.ok && target == before);
  }
  return 0;
}
