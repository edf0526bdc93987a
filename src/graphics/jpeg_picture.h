#pragma once
// JPEG pictures (the JPEG archive's members and movie frames), decoded straight to BGR.
#include <cstdint>
#include <span>

#include "common/picture.h"
#include "graphics/packed_picture.h"

namespace quill {

// Decodes a complete JPEG file into target, which takes the JPEG's size; grayscale and CMYK files
// are converted to colour. A file whose header does not read leaves the target unchanged. Damage
// found later (a cut or corrupt scan) is reported; the target then has the JPEG's size, the rows
// decoded so far, and black below them (rows the library filled in itself on a cut file are kept).
PictureDecodeResult DecodeJpegPicture(std::span<const uint8_t> file, Picture& target);

// True when the bytes start like a JPEG file (SOI marker followed by another marker).
bool LooksLikeJpeg(std::span<const uint8_t> file);

}  // namespace quill
