#include "common/png_io.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include "common/file_util.h"

namespace quill {

std::optional<Picture> DecodePng(std::span<const uint8_t> file, std::string* error) {
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgb = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h,
                                       &channels, 3);
  if (!rgb) {
    if (error) *error = stbi_failure_reason() ? stbi_failure_reason() : "not a picture";
    return std::nullopt;
  }
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

std::optional<Picture> ReadPng(const std::filesystem::path& path, std::string* error) {
  auto file = ReadFile(path);
  if (!file) {
    if (error) *error = "cannot read the file";
    return std::nullopt;
  }
  return DecodePng(*file, error);
}

bool WritePng(const std::filesystem::path& path, const Picture& picture, std::string* error) {
  std::vector<uint8_t> rgb(picture.bytes().size());
  const uint8_t* src = picture.bytes().data();
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    rgb[i] = src[i + 2];
    rgb[i + 1] = src[i + 1];
    rgb[i + 2] = src[i];
  }
  std::vector<uint8_t> png;
  auto append = [](void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    auto* bytes = static_cast<uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
  };
  if (!stbi_write_png_to_func(append, &png, picture.width(), picture.height(), 3, rgb.data(),
                              picture.stride())) {
    if (error) *error = path.string() + ": cannot encode PNG";
    return false;
  }
  return WriteFileAtomic(path, png, error);
}

}  // namespace quill
