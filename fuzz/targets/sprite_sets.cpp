// The sprite-set script `_sprset`: the list read, then every set it names drawn at a few places
// from a picture archive of small pictures (parts SP01, SP02 with masks MP01, MP02).
#include "graphics/sprite_sets.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

namespace {

PictureLoader& Loader() {
  static PictureLoader* loader = [] {
    auto* l = new PictureLoader;
    std::filesystem::path archive = fuzz::ScratchFolder() / "mg_gra.qlm";
    fuzz::WriteBytes(archive, fuzz::PictureArchive({{"SP01", fuzz::GradientPicture(12, 20, 1)},
                                                    {"MP01", fuzz::GradientPicture(12, 20, 2)},
                                                    {"SP02", fuzz::GradientPicture(5, 3, 3)},
                                                    {"MP02", fuzz::GradientPicture(4, 4, 4)}}));
    if (!l->OpenArchive(PictureArchiveRole::kPictures1, archive)) std::abort();
    return l;
  }();
  return *loader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PictureLoader& loader = Loader();
  SpriteSetList sets;
  sets.Load(fuzz::Bytes(data, size));
  Picture scene(64, 48);
  int drawn = 0;
  for (const std::string& line : sets.lines()) {
    FUZZ_CHECK(!line.empty() && line[0] != ';');
    if (line[0] != ':' || ++drawn > 8) continue;
    for (auto [x, y] : {std::pair{32, 0}, {0, -10}, {70, 40}, {-2000000000, 2000000000}}) {
      sets.Draw(line.substr(1), scene, x, y, loader);
    }
  }
  FUZZ_CHECK(scene.width() == 64 && scene.height() == 48);
  return 0;
}
