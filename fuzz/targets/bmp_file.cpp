// Bitmap files (the panic picture beside a game's archives).
#include "common/bmp_file.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<Picture> p = DecodeBmp(fuzz::Bytes(data, size));
  if (p) {
    FUZZ_CHECK(p->width() > 0 && p->height() > 0);
    FUZZ_CHECK(p->bytes().size() == size_t(p->width()) * p->height() * 3);
  }
  return 0;
}
