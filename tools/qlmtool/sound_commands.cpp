#include "tools/qlmtool/sound_commands.h"

#include <cstdio>
#include <filesystem>

#include "audio/wady_codec.h"
#include "common/file_util.h"
#include "common/text_util.h"
#include "common/wav_file.h"
#include "tools/wady_encoder.h"

namespace quill::qlmtool {
namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "qlmtool: %s\n", message.c_str());
  return 1;
}

enum class Coding { Unknown, Block, Stream };

// Splits the options from the two file arguments.
bool ReadOptions(const std::vector<std::string>& args, std::vector<std::string>& files,
                 Coding& coding, int64_t& loop_start, std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--block" || a == "--stream") {
      Coding c = a == "--block" ? Coding::Block : Coding::Stream;
      if (coding != Coding::Unknown && coding != c) {
        *error = "give either --block or --stream";
        return false;
      }
      coding = c;
    } else if (a == "--loop-start") {
      size_t used = 0;
      if (i + 1 >= args.size()) {
        *error = "--loop-start needs a frame number";
        return false;
      }
      loop_start = ParseInt(args[i + 1], &used);
      if (used != args[i + 1].size() || loop_start < 0) {
        *error = "--loop-start takes a frame number";
        return false;
      }
      ++i;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) {
    *error = "give the file to read and the file to write";
    return false;
  }
  return true;
}

// The header does not say which coding follows: a stream has a scale and one byte per sample.
Coding GuessCoding(const WadyHeader& h) {
  bool stream = h.scale != 0 && (h.stream_channels == 1 || h.stream_channels == 2) &&
                h.coded_size == static_cast<uint64_t>(h.frames) * h.stream_channels;
  return stream ? Coding::Stream : Coding::Block;
}

}  // namespace

bool IsSoundSource(const std::string& path) {
  return EqualsIgnoreCase(std::filesystem::path(path).extension().string(), ".wav");
}

bool EncodeSoundFile(const std::string& path, std::vector<uint8_t>* member, std::string* error) {
  std::optional<WavSound> sound = ReadWav(path, error);
  if (!sound) return false;
  *member = EncodeWadyBlock(*sound);
  return true;
}

int EncodeWady(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  Coding coding = Coding::Unknown;
  int64_t loop_start = -1;
  std::string error;
  if (!ReadOptions(args, files, coding, loop_start, &error)) return Fail(error);
  if (coding == Coding::Unknown) return Fail("encode-wady: give --block or --stream");
  if (coding == Coding::Block && loop_start >= 0) {
    return Fail("--loop-start goes with --stream (a block-coded effect loops whole)");
  }
  std::optional<WavSound> sound = ReadWav(files[0], &error);
  if (!sound) return Fail(error);
  std::vector<uint8_t> member;
  if (coding == Coding::Block) {
    member = EncodeWadyBlock(*sound);
  } else {
    StreamOptions options;
    options.loop_start_frame = static_cast<uint32_t>(std::max<int64_t>(loop_start, 0));
    auto coded = EncodeWadyStream(*sound, options, &error);
    if (!coded) return Fail(files[0] + ": " + error);
    member = std::move(*coded);
  }
  if (!WriteFileAtomic(files[1], member, &error)) return Fail(error);
  return 0;
}

int DecodeWady(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  Coding coding = Coding::Unknown;
  int64_t loop_start = -1;
  std::string error;
  if (!ReadOptions(args, files, coding, loop_start, &error)) return Fail(error);
  if (loop_start >= 0) return Fail("decode-wady decodes once through the data, with no loop");
  std::optional<std::vector<uint8_t>> bytes = ReadFile(files[0]);
  if (!bytes) return Fail(files[0] + ": cannot read the file");
  std::optional<WadyHeader> header = ReadWadyHeader(*bytes);
  if (!header) return Fail(files[0] + ": not a WADY sound");
  if (coding == Coding::Unknown) coding = GuessCoding(*header);
  std::optional<Pcm> pcm =
      coding == Coding::Block ? DecodeWadyEffect(*bytes) : DecodeWadyStream(*bytes);
  if (!pcm) return Fail(files[0] + ": the header describes no sound this file holds");
  WavSound out{pcm->channels, pcm->rate, std::move(pcm->samples)};
  if (!WriteWav(files[1], out, &error)) return Fail(error);
  return 0;
}

}  // namespace quill::qlmtool
