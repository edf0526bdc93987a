#include "common/wav_file.h"

#include <cstring>

#include "common/byte_io.h"
#include "common/file_util.h"

namespace quill {
namespace {

void Tag(ByteWriter& w, const char* tag) {
  w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(tag), 4));
}

}  // namespace

std::vector<uint8_t> WavHeader(int channels, int rate, uint32_t data_bytes) {
  ByteWriter w;
  Tag(w, "RIFF");
  w.U32(36 + data_bytes);
  Tag(w, "WAVE");
  Tag(w, "fmt ");
  w.U32(16);
  w.U16(1);
  w.U16(static_cast<uint16_t>(channels));
  w.U32(static_cast<uint32_t>(rate));
  w.U32(static_cast<uint32_t>(rate * channels * 2));
  w.U16(static_cast<uint16_t>(channels * 2));
  w.U16(16);
  Tag(w, "data");
  w.U32(data_bytes);
  return w.Take();
}

std::optional<WavSound> ParseWav(std::span<const uint8_t> file, std::string* error) {
  auto fail = [&](const char* why) -> std::optional<WavSound> {
    *error = why;
    return std::nullopt;
  };
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
      std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
    return fail("not a RIFF WAVE file");
  }
  WavSound sound;
  bool have_format = false;
  size_t pos = 12;
  while (pos + 8 <= file.size()) {
    ByteReader r(file.subspan(pos + 4, 4));
    uint64_t size = r.U32();
    const uint8_t* id = file.data() + pos;
    size_t body = pos + 8;
    size_t available = static_cast<size_t>(std::min<uint64_t>(size, file.size() - body));
    if (std::memcmp(id, "fmt ", 4) == 0) {
      ByteReader f(file.subspan(body, available));
      uint16_t tag = f.U16();
      sound.channels = f.U16();
      sound.rate = static_cast<int>(f.U32());
      f.Skip(6);
      uint16_t bits = f.U16();
      if (!f.ok()) return fail("the format chunk is cut short");
      if ((tag != 1 && tag != 0xFFFE) || bits != 16) return fail("only 16-bit PCM is read");
      if (sound.channels < 1 || sound.channels > 2 || sound.rate <= 0) {
        return fail("only mono and stereo with a sample rate are read");
      }
      have_format = true;
    } else if (std::memcmp(id, "data", 4) == 0) {
      if (!have_format) return fail("the data chunk comes before the format");
      size_t frames = available / (2 * static_cast<size_t>(sound.channels));
      sound.samples.resize(frames * static_cast<size_t>(sound.channels));
      std::memcpy(sound.samples.data(), file.data() + body, sound.samples.size() * 2);
      return sound;
    }
    pos = body + size + (size & 1);
  }
  return fail("no data chunk");
}

std::optional<WavSound> ReadWav(const std::filesystem::path& path, std::string* error) {
  std::optional<std::vector<uint8_t>> bytes = ReadFile(path);
  if (!bytes) {
    *error = path.string() + ": cannot read the file";
    return std::nullopt;
  }
  std::optional<WavSound> sound = ParseWav(*bytes, error);
  if (!sound) *error = path.string() + ": " + *error;
  return sound;
}

bool WriteWav(const std::filesystem::path& path, const WavSound& sound, std::string* error) {
  std::vector<uint8_t> out =
      WavHeader(sound.channels, sound.rate, static_cast<uint32_t>(sound.samples.size() * 2));
  const auto* pcm = reinterpret_cast<const uint8_t*>(sound.samples.data());
  out.insert(out.end(), pcm, pcm + sound.samples.size() * 2);
  return WriteFileAtomic(path, out, error);
}

}  // namespace quill
