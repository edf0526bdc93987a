#pragma once
// RIFF WAV files of 16-bit PCM: the headless audio output, qlmtool's sound commands, tests.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quill {

struct WavSound {
  int channels = 0;
  int rate = 0;
  std::vector<int16_t> samples;  // interleaved
};

// The 44-byte header of a file holding data_bytes of PCM.
std::vector<uint8_t> WavHeader(int channels, int rate, uint32_t data_bytes);
// A 16-bit PCM WAV file (other chunks are skipped). nullopt, and *error, for anything else.
std::optional<WavSound> ParseWav(std::span<const uint8_t> file, std::string* error);
std::optional<WavSound> ReadWav(const std::filesystem::path& path, std::string* error);
bool WriteWav(const std::filesystem::path& path, const WavSound& sound, std::string* error);

}  // namespace quill
