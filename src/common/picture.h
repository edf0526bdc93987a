#pragma once
// A 24-bit picture: width × height × 3 bytes, blue-green-red, rows from the top, tightly packed.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quill {

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height) { Create(width, height); }

  // New size, content black.
  void Create(int width, int height);
  // New size keeping the overlapping top-left part; new area black.
  void Resize(int width, int height);
  void Fill(uint8_t b, uint8_t g, uint8_t r);
  void FillRect(Rect area, uint8_t b, uint8_t g, uint8_t r);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  int stride() const { return width_ * 3; }
  uint8_t* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride(); }
  const uint8_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride(); }
  uint8_t* Pixel(int x, int y) { return Row(y) + x * 3; }
  const uint8_t* Pixel(int x, int y) const { return Row(y) + x * 3; }
  std::vector<uint8_t>& bytes() { return pixels_; }
  const std::vector<uint8_t>& bytes() const { return pixels_; }

  bool operator==(const Picture& other) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;
};

// Copies the w × h block at (sx, sy) of src to (dx, dy) of dst, clipped to both pictures.
// src and dst may be the same picture only when the areas do not overlap.
void CopyRect(Picture& dst, int dx, int dy, const Picture& src, int sx, int sy, int w, int h);
// Whole picture to (dx, dy).
void CopyPicture(Picture& dst, int dx, int dy, const Picture& src);

}  // namespace quill
