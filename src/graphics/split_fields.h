#pragma once
// The field splitter of sprmv and manpu: at most 32 fields at "," or ":".
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

constexpr int kMaxSplitFields = 32;
constexpr size_t kSplitFieldChars = 30;
// The number of a field that does not start with "0" and reads as 0.
constexpr int32_t kNoFieldNumber = -99999;

struct SplitField {
  std::string text;  // blanks before it skipped, at most 30 bytes
  int32_t number = kNoFieldNumber;
};

struct SplitResult {
  // The number of separators + 1 (0 for an empty argument); it counts separators past the 32nd
  // field too, though only 32 fields are kept.
  int count = 0;
  std::array<SplitField, kMaxSplitFields> fields;
};

SplitResult SplitFields(std::string_view argument);

}  // namespace quill
