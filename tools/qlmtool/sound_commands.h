#pragma once
// qlmtool's sound commands: WAV to WADY in either coding, and WADY back to WAV.
#include <cstdint>
#include <string>
#include <vector>

namespace quill::qlmtool {

// encode-wady IN.wav OUT --block|--stream [--loop-start FRAME]
int EncodeWady(const std::vector<std::string>& args);
// decode-wady IN OUT.wav [--block|--stream]
int DecodeWady(const std::vector<std::string>& args);

// True when pack stores the file encoded: a .wav becomes a block-coded WADY member.
bool IsSoundSource(const std::string& path);
bool EncodeSoundFile(const std::string& path, std::vector<uint8_t>* member, std::string* error);

}  // namespace quill::qlmtool
