#pragma once
// Windows bitmap files written for tests: 24 bits a pixel, rows from the bottom, each padded to
// four bytes.
#include <string>

#include "common/picture.h"

namespace quill::test {

std::string BitmapFile(const Picture& picture);

}  // namespace quill::test
