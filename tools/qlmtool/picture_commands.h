#pragma once
// qlmtool's picture commands: PNG to packed picture, and any picture member back to PNG.
#include <cstdint>
#include <string>
#include <vector>

namespace quill::qlmtool {

// encode-picture IN.png OUT [--rle] [--delta] [--dense]
int EncodePicture(const std::vector<std::string>& args);
// decode-picture ARCHIVE NAME OUT.png | decode-picture MEMBERFILE OUT.png
int DecodePicture(const std::vector<std::string>& args);

// True when pack stores the file encoded: a .png becomes a packed picture.
bool IsPictureSource(const std::string& path);
// The packed picture for a PNG file (the smallest stage combination). False and *error (naming
// the file) when it does not read or does not fit the format.
bool EncodePictureFile(const std::string& path, std::vector<uint8_t>* packed, std::string* error);

}  // namespace quill::qlmtool
