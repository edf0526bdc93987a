#include "tools/ogg_encoder.h"

#include <vorbis/vorbisenc.h>

#include <cstdlib>
#include <cstring>

namespace quill {
namespace {

void Append(std::vector<uint8_t>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(const WavSound& sound, float quality) {
  std::vector<uint8_t> out;
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, sound.channels, sound.rate, quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);  // one logical stream: a fixed serial keeps the output repeatable

  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) Append(out, page);

  const int channels = sound.channels;
  const size_t frames = sound.samples.size() / static_cast<size_t>(channels);
  constexpr size_t kChunk = 4096;
  bool end = false;
  for (size_t at = 0; !end;) {
    size_t n = std::min(kChunk, frames - at);
    if (n == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i) {
        for (int c = 0; c < channels; ++c) {
          buffer[c][i] = sound.samples[(at + i) * channels + c] / 32768.0f;
        }
      }
      vorbis_analysis_wrote(&dsp, static_cast<int>(n));
      at += n;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) {
          Append(out, page);
          if (ogg_page_eos(&page)) end = true;
        }
      }
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace quill
