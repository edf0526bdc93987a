#include "common/bmp_file.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <limits>

namespace quill {
namespace {

// Far beyond a screen picture; keeps a forged header from asking for hundreds of megabytes.
constexpr int kMaxSide = 4096;

}  // namespace

std::optional<Picture> DecodeBmp(std::span<const uint8_t> file, std::string* error) {
  auto fail = [&](const char* why) -> std::optional<Picture> {
    if (error) *error = why;
    return std::nullopt;
  };
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') return fail("not a bitmap file");
  if (file.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return fail("too large");
  const int size = static_cast<int>(file.size());
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(file.data(), size, &w, &h, &channels)) return fail("damaged bitmap");
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return fail("bitmap size out of range");
  stbi_uc* rgb = stbi_load_from_memory(file.data(), size, &w, &h, &channels, 3);
  if (!rgb) return fail(stbi_failure_reason() ? stbi_failure_reason() : "damaged bitmap");
  Picture picture(w, h);
  const stbi_uc* src = rgb;
  uint8_t* dst = picture.bytes().data();
  for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i, src += 3, dst += 3) {
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = src[0];
  }
  stbi_image_free(rgb);
  return picture;
}

std::vector<uint8_t> EncodeBmp(const Picture& picture) {
  std::vector<uint8_t> rgb(picture.bytes().size());
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    rgb[i] = picture.bytes()[i + 2];
    rgb[i + 1] = picture.bytes()[i + 1];
    rgb[i + 2] = picture.bytes()[i];
  }
  std::vector<uint8_t> file;
  stbi_write_bmp_to_func(
      [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        const auto* bytes = static_cast<const uint8_t*>(data);
        out->insert(out->end(), bytes, bytes + size);
      },
      &file, picture.width(), picture.height(), 3, rgb.data());
  return file;
}

}  // namespace quill
