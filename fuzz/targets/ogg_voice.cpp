// Ogg voices: libvorbisfile over the member in memory, the decode buffer and the silence cut.
#include "audio/ogg_voice.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<Pcm> pcm = DecodeOggVoice(fuzz::Bytes(data, size));
  if (pcm) {
    FUZZ_CHECK(pcm->channels == 1 || pcm->channels == 2);
    FUZZ_CHECK(pcm->rate > 0);
  }
  std::vector<uint8_t> bytes(data, data + size);
  size_t kept = VoiceLengthAfterSilenceCut(bytes);
  FUZZ_CHECK(kept <= size && (size <= 30000 ? kept == size : kept >= size / 2 - 4));
  return 0;
}
