#include "audio/ogg_voice.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

namespace quill {
namespace {

// libvorbisfile reads the member through these, from a copy in memory.
struct MemoryStream {
  std::span<const uint8_t> data;
  size_t pos = 0;
};

size_t ReadCallback(void* ptr, size_t size, size_t count, void* source) {
  auto* s = static_cast<MemoryStream*>(source);
  if (size == 0) return 0;
  size_t want = size * count;
  size_t left = s->data.size() - s->pos;
  size_t n = std::min(want, left) / size * size;
  if (n == 0) return 0;
  std::memcpy(ptr, s->data.data() + s->pos, n);
  s->pos += n;
  return n / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
  auto* s = static_cast<MemoryStream*>(source);
  int64_t base = whence == SEEK_SET   ? 0
                 : whence == SEEK_CUR ? static_cast<int64_t>(s->pos)
                                      : static_cast<int64_t>(s->data.size());
  int64_t to = base + offset;
  if (to < 0 || to > static_cast<int64_t>(s->data.size())) return -1;
  s->pos = static_cast<size_t>(to);
  return 0;
}

int CloseCallback(void*) { return 0; }

long TellCallback(void* source) {
  return static_cast<long>(static_cast<MemoryStream*>(source)->pos);
}

// A voice is a spoken line: anything claiming more than this is damaged.
constexpr int64_t kLargestDecodeBytes = 256ll << 20;

}  // namespace

size_t VoiceLengthAfterSilenceCut(std::span<const uint8_t> bytes) {
  size_t length = bytes.size();
  if (length <= 30000) return length;
  size_t pos = length - 4;
  while (pos > length / 2 && bytes[pos] == 0 && bytes[pos + 1] == 0 && bytes[pos + 2] == 0 &&
         bytes[pos + 3] == 0) {
    pos -= 4;
  }
  return pos;
}

std::optional<Pcm> DecodeOggVoice(std::span<const uint8_t> member) {
  MemoryStream stream{member, 0};
  OggVorbis_File vf;
  ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
  if (ov_open_callbacks(&stream, &vf, nullptr, 0, callbacks) < 0) return std::nullopt;
  int64_t frames = ov_pcm_total(&vf, -1);
  vorbis_info* info = ov_info(&vf, -1);
  if (!info || frames <= 0 || info->channels < 1 || info->channels > 2 || info->rate <= 0) {
    ov_clear(&vf);
    return std::nullopt;
  }
  int channels = info->channels;
  int rate = static_cast<int>(std::min<long>(info->rate, 1 << 20));
  // The decode buffer is (channels + 2) bytes a frame: a stereo voice fills it, a mono one
  // leaves a zero tail that the silence cut takes off.
  int64_t size = (channels + 2) * frames;
  if (size > kLargestDecodeBytes) {
    ov_clear(&vf);
    return std::nullopt;
  }
  // Decoded straight into the voice's samples, which then lose the cut tail.
  Pcm pcm;
  pcm.channels = channels;
  pcm.rate = rate;
  pcm.samples.assign(static_cast<size_t>(size + 1) / 2, 0);
  std::span<uint8_t> buffer(reinterpret_cast<uint8_t*>(pcm.samples.data()),
                            static_cast<size_t>(size));
  size_t filled = 0;
  int section = 0;
  while (filled < buffer.size()) {
    int want = static_cast<int>(std::min<size_t>(buffer.size() - filled, 4096));
    long got =
        ov_read(&vf, reinterpret_cast<char*>(buffer.data() + filled), want, 0, 2, 1, &section);
    if (got <= 0) break;
    filled += static_cast<size_t>(got);
  }
  ov_clear(&vf);
  pcm.samples.resize(VoiceLengthAfterSilenceCut(buffer) / 2);
  return pcm;
}

}  // namespace quill
