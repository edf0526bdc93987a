// WADY sounds: the header checks, the block coding of effects, the stream coding decoded whole
// (movie audio) and streamed from a file through the music ring's reader, looping.
#include <algorithm>

#include "audio/music_stream.h"
#include "audio/wady_codec.h"
#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> member = fuzz::Bytes(data, size);
  std::optional<WadyHeader> header = ReadWadyHeader(member);
  for (auto decode : {&DecodeWadyEffect, &DecodeWadyStream}) {
    std::optional<Pcm> pcm = decode(member);
    if (!pcm) continue;
    FUZZ_CHECK(header);
    FUZZ_CHECK(pcm->channels == 1 || pcm->channels == 2);
    FUZZ_CHECK(pcm->samples.size() * 2 <= header->pcm_size);
    FUZZ_CHECK(pcm->samples.size() % static_cast<size_t>(pcm->channels) == 0);
  }
  // The music reader: the member behind other bytes of its archive, read well past its end.
  std::filesystem::path file = fuzz::ScratchFolder() / "bgm.qlm";
  std::vector<uint8_t> archive(16, 0xA5);
  archive.insert(archive.end(), member.begin(), member.end());
  fuzz::WriteBytes(file, archive);
  MusicStream stream;
  if (stream.Open(file, 16, size)) {
    FUZZ_CHECK(header);
    // Stretches shorter than the ring's second reach the loop as often, in less time.
    std::vector<int16_t> part(std::min<size_t>(stream.bytes_per_second() / 2, 2048));
    for (int32_t play_once : {0, 1}) {
      for (int k = 0; k < 4; ++k) stream.Decode(part.data(), part.size(), play_once);
      FUZZ_CHECK(play_once == 0 || play_once == 1 || play_once == 2);
    }
  }
  return 0;
}
