#pragma once
// The delta stage of packed pictures: a running sum per colour channel, that is a prefix sum over
// bytes 3 apart. Vectorised on the instruction set the blend kernels run on (blend_kernels.h), so
// SetBlendIsa switches it too; every version gives exactly the bytes of the reference.
#include <cstddef>
#include <cstdint>

namespace quill {

// In place over n bytes: byte k becomes (byte k + byte k − 3, already summed) mod 256 for k ≥ 3.
void DeltaDecode(uint8_t* bytes, size_t n);

namespace reference {
// The same, one pixel at a time with a running byte per channel.
void DeltaDecode(uint8_t* bytes, size_t n);
}  // namespace reference

}  // namespace quill
