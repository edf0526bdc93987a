// Archive indexes in both layouts, from memory and from a file: every entry kept lies inside the
// file, and the file reader agrees with the memory reader.
#include "engine/archive_index.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

namespace {

void CheckIndex(const ArchiveReadResult& r, size_t file_size) {
  if (!r.index) return;
  const ArchiveIndex& index = *r.index;
  FUZZ_CHECK(index.offsets.size() == index.count() && index.sizes.size() == index.count());
  for (size_t i = 0; i < index.count(); ++i) {
    FUZZ_CHECK(uint64_t{index.offsets[i]} + index.sizes[i] <= file_size);
    int found = index.Find(index.names[i]);
    FUZZ_CHECK(found >= 0 && static_cast<size_t>(found) <= i);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path file = fuzz::ScratchFolder() / "archive.qlm";
  fuzz::WriteBytes(file, fuzz::Bytes(data, size));
  for (ArchiveLayout layout : {ArchiveLayout::FixedWidth, ArchiveLayout::DeclaredWidth}) {
    ArchiveReadResult parsed = ParseArchiveIndex(fuzz::Bytes(data, size), layout);
    CheckIndex(parsed, size);
    ArchiveReadResult read = ReadArchiveIndex(file, layout);
    FUZZ_CHECK(parsed.index.has_value() == read.index.has_value());
    if (parsed.index) {
      FUZZ_CHECK(parsed.index->names == read.index->names);
      FUZZ_CHECK(parsed.index->offsets == read.index->offsets);
      FUZZ_CHECK(parsed.index->sizes == read.index->sizes);
      for (size_t i = 0; i < read.index->count() && i < 4; ++i) {
        auto member = ReadArchiveMember(file, *read.index, i);
        FUZZ_CHECK(member && member->size() == read.index->sizes[i]);
      }
    }
  }
  CheckIndex(ReadArchiveIndexDetect(file), size);
  return 0;
}
