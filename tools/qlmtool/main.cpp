// qlmtool: list, extract and pack the engine's archives.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/file_util.h"
#include "common/text_util.h"
#include "engine/archive_index.h"
#include "engine/script_mask.h"
#include "tools/qlmtool/picture_commands.h"
#include "tools/qlmtool/sound_commands.h"
#include "tools/script_pack.h"

namespace fs = std::filesystem;
using namespace quill;

namespace {

struct Command {
  const char* name;
  const char* usage;
  const char* help;
  size_t min_args, max_args;  // counted with options; the command checks them further
  int (*run)(const std::vector<std::string>& args);
};

constexpr size_t kAnyCount = SIZE_MAX;

int Fail(const std::string& message) {
  std::fprintf(stderr, "qlmtool: %s\n", message.c_str());
  return 1;
}

ArchiveReadResult OpenArchive(const std::string& path, std::string* error) {
  ArchiveReadResult r = ReadArchiveIndexDetect(path);
  if (!r.index) *error = path + ": " + r.error;
  for (const std::string& s : r.skipped) std::fprintf(stderr, "qlmtool: %s: %s\n", path.c_str(), s.c_str());
  return r;
}

int List(const std::vector<std::string>& args) {
  std::string error;
  ArchiveReadResult r = OpenArchive(args[0], &error);
  if (!r.index) return Fail(error);
  for (size_t i = 0; i < r.index->count(); ++i) {
    std::printf("%s\t%u\t%u\n", r.index->names[i].c_str(), r.index->offsets[i], r.index->sizes[i]);
  }
  return 0;
}

int Extract(const std::vector<std::string>& args) {
  std::string error;
  ArchiveReadResult r = OpenArchive(args[0], &error);
  if (!r.index) return Fail(error);
  fs::path dir = args[1];
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return Fail(dir.string() + ": " + ec.message());
  bool scripts = r.layout == ArchiveLayout::FixedWidth;
  for (size_t i = 0; i < r.index->count(); ++i) {
    const std::string& name = r.index->names[i];
    auto data = ReadArchiveMember(args[0], *r.index, i);
    if (!data) return Fail(args[0] + ": cannot read member " + name);
    fs::path out = dir / (scripts ? name + ".txt" : name);
    bool ok;
    if (scripts) {
      MaskScript(*data);
      std::vector<std::string> problems;
      std::string text = StoredToScriptText(*data, &problems);
      for (const std::string& p : problems) std::fprintf(stderr, "qlmtool: %s: %s\n", name.c_str(), p.c_str());
      ok = WriteFileAtomic(out, text.data(), text.size(), &error);
    } else {
      ok = WriteFileAtomic(out, *data, &error);
    }
    if (!ok) return Fail(error);
  }
  return 0;
}

int PackScripts(const std::vector<std::string>& args) {
  std::string error;
  auto members = ReadScriptFolder(args[1], &error);
  if (!members) return Fail(error);
  if (!WriteScriptArchive(args[0], *members, &error)) return Fail(error);
  return 0;
}

int Pack(const std::vector<std::string>& args_in) {
  std::vector<std::string> args;
  uint32_t width = 0;
  for (size_t i = 0; i < args_in.size(); ++i) {
    if (args_in[i] == "--name-width") {
      if (i + 1 >= args_in.size()) return Fail("--name-width needs a number");
      size_t used = 0;
      int32_t w = ParseInt(args_in[i + 1], &used);
      if (used != args_in[i + 1].size() || w < 2 || w > 1024)
        return Fail("--name-width takes a number from 2 to 1024");
      width = static_cast<uint32_t>(w);
      ++i;
    } else {
      args.push_back(args_in[i]);
    }
  }
  if (args.empty()) return Fail("pack: give the archive to write (see --help)");
  std::vector<ArchiveMember> members;
  std::string error;
  size_t longest = 0;
  for (size_t i = 1; i < args.size(); ++i) {
    std::optional<std::vector<uint8_t>> data;
    if (qlmtool::IsPictureSource(args[i])) {
      data.emplace();
      if (!qlmtool::EncodePictureFile(args[i], &*data, &error)) return Fail(error);
    } else if (qlmtool::IsSoundSource(args[i])) {
      data.emplace();
      if (!qlmtool::EncodeSoundFile(args[i], &*data, &error)) return Fail(error);
    } else {
      data = ReadFile(args[i]);
      if (!data) return Fail(args[i] + ": cannot read the file");
    }
    std::string name = ToUpperAscii(fs::path(args[i]).stem().string());
    longest = std::max(longest, name.size());
    members.push_back({std::move(name), std::move(*data)});
  }
  // Without --name-width, the smallest multiple of 4 that holds the longest name and its NUL.
  if (width == 0) width = static_cast<uint32_t>(std::max<size_t>(16, (longest + 4) / 4 * 4));
  auto bytes = BuildArchive(ArchiveLayout::DeclaredWidth, members, width, &error);
  if (!bytes) return Fail(args[0] + ": " + error);
  if (!WriteFileAtomic(args[0], *bytes, &error)) return Fail(error);
  return 0;
}

const Command kCommands[] = {
    {"list", "list ARCHIVE", "One line per member: name, offset and size (tab-separated).", 1, 1,
     List},
    {"extract", "extract ARCHIVE DIR",
     "Writes every member into DIR. Script archive members are unmasked and written as NAME.txt "
     "in UTF-8, one text line per stored line.",
     2, 2, Extract},
    {"pack-scripts", "pack-scripts OUT.qlm DIR",
     "Packs every NAME.txt (UTF-8) of DIR as the script NAME: Shift-JIS lines ending in NUL, "
     "masked, in a fixed-width index.",
     2, 2, PackScripts},
    {"pack", "pack OUT.qlm FILE... [--name-width W]",
     "Packs files into a resource archive (declared-width index); members are named by their "
     "file names without extension, in upper case. A .png file is stored as a packed picture "
     "(the smallest of the stage combinations), a .wav file (16-bit PCM) as a block-coded "
     "WADY sound; other files (.ogg voices, stream-coded WADY files) are stored as they are.",
     1, kAnyCount, Pack},
    {"encode-picture", "encode-picture IN.png OUT [--rle] [--delta] [--dense]",
     "Writes the PNG picture as a packed picture member. --rle adds the run-length stage, "
     "--delta the delta stage; --dense takes every match, for a smaller file that decodes more "
     "slowly.",
     2, 5, qlmtool::EncodePicture},
    {"decode-picture", "decode-picture (ARCHIVE NAME | MEMBERFILE) OUT.png",
     "Writes what the engine would show for a picture as PNG: member NAME of a picture or JPEG "
     "archive, or a member file (a JPEG file or a packed picture). A damaged picture is written "
     "as far as it decodes and the command fails.",
     2, 3, qlmtool::DecodePicture},
    {"encode-wady", "encode-wady IN.wav OUT --block|--stream [--loop-start FRAME]",
     "Writes a 16-bit PCM WAV file as a WADY sound. --block: the coding of effects; --stream: "
     "the coding of music, one byte a sample with a scale chosen for the file, going on at "
     "FRAME (default 0) after its end.",
     3, 5, qlmtool::EncodeWady},
    {"decode-wady", "decode-wady IN OUT.wav [--block|--stream]",
     "Decodes a WADY sound once through its data, as the engine does, into a WAV file. The "
     "coding is told from the header unless given.",
     2, 3, qlmtool::DecodeWady},
};

void PrintUsage(FILE* to) {
  std::fprintf(to, "usage: qlmtool COMMAND ARGS...\n\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(to, "  qlmtool %s\n", c.usage);
  std::fprintf(to, "\n'qlmtool COMMAND --help' describes one command.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return 0;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    for (const std::string& a : args) {
      if (a == "--help" || a == "-h") {
        std::printf("usage: qlmtool %s\n\n%s\n", c.usage, c.help);
        return 0;
      }
    }
    if (args.size() < c.min_args || args.size() > c.max_args) {
      std::fprintf(stderr, "usage: qlmtool %s\n", c.usage);
      return 2;
    }
    return c.run(args);
  }
  std::fprintf(stderr, "qlmtool: unknown command '%s'\n", name.c_str());
  PrintUsage(stderr);
  return 2;
}
