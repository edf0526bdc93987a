#pragma once
// Stored scripts are masked with a fixed 12-byte key, restarting at key position 0 for every
// member whatever its offset in the archive. Masking and unmasking are the same operation.
#include <cstdint>
#include <span>
#include <string_view>

namespace quill {

constexpr std::string_view kScriptKey = "kite_on_moss";

inline void MaskScript(std::span<uint8_t> bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] ^= static_cast<uint8_t>(kScriptKey[i % kScriptKey.size()]);
  }
}

}  // namespace quill
