// demo_sound OUT SPEECH: writes the demo's sounds into OUT, one folder an archive: bgm/ (music,
// stream-coded), se0/ (one-shot effects) and se2/ (loops) as WAV files that the packer codes,
// ogg1/ (the voices spoken into SPEECH/*.wav, encoded to Ogg Vorbis).
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/file_util.h"
#include "tools/demo_sound/demo_sound.h"
#include "tools/ogg_encoder.h"
#include "tools/wady_encoder.h"

namespace fs = std::filesystem;
using namespace demo_sound;

namespace {

bool Fail(const std::string& message) {
  std::fprintf(stderr, "demo_sound: %s\n", message.c_str());
  return false;
}

bool WriteMusic(const fs::path& folder, const MusicTrack& track) {
  std::string error;
  quill::StreamOptions options;
  options.loop_start_frame = track.loop_start_frame;
  auto member = quill::EncodeWadyStream(track.pcm, options, &error);
  if (!member) return Fail(track.name + ": " + error);
  return quill::WriteFileAtomic(folder / track.name, *member, &error) || Fail(error);
}

bool WriteEffects(const fs::path& folder, const std::vector<Effect>& effects) {
  std::string error;
  for (const Effect& e : effects) {
    if (!quill::WriteWav(folder / (e.name + ".wav"), e.pcm, &error)) return Fail(error);
  }
  return true;
}

bool WriteVoices(const fs::path& speech, const fs::path& folder) {
  std::error_code ec;
  int count = 0;
  for (const auto& entry : fs::directory_iterator(speech, ec)) {
    if (entry.path().extension() != ".wav") continue;
    std::string error;
    auto wav = quill::ReadWav(entry.path(), &error);
    if (!wav) return Fail(error);
    std::vector<uint8_t> ogg = quill::EncodeOggVorbis(*wav);
    if (ogg.empty()) return Fail(entry.path().string() + ": the Ogg encoder refused it");
    fs::path out = folder / (entry.path().stem().string() + ".ogg");
    if (!quill::WriteFileAtomic(out, ogg, &error)) return Fail(error);
    ++count;
  }
  if (ec) return Fail(speech.string() + ": " + ec.message());
  return count > 0 || Fail(speech.string() + " holds no spoken lines");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: demo_sound OUT SPEECH\n");
    return 2;
  }
  fs::path out = argv[1];
  bool ok = WriteMusic(out / "bgm", EveningTheme()) && WriteMusic(out / "bgm", MorningTheme()) &&
            WriteEffects(out / "se0", OneShotEffects()) &&
            WriteEffects(out / "se2", LoopingEffects()) && WriteVoices(argv[2], out / "ogg1");
  return ok ? 0 : 1;
}
