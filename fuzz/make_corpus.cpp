// Writes the seed corpora of the fuzz targets into a folder (fuzz/corpus by default), one
// subfolder per target, with the project's own encoders:
//   build-fuzz/fuzz/fuzz_make_corpus fuzz/corpus
#include <cstdio>
// jpeglib.h needs size_t and FILE first.
#include <jpeglib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/bmp_file.h"
#include "common/file_util.h"
#include "engine/archive_index.h"
#include "fuzz/support/fuzz_support.h"
#include "persist/settings_store.h"
#include "tools/picture_encoder.h"

using namespace quill;
namespace fs = std::filesystem;

namespace {

fs::path out_root;

void Seed(const std::string& target, const std::string& name, std::span<const uint8_t> bytes) {
  fuzz::WriteBytes(out_root / target / name, bytes);
}
void SeedText(const std::string& target, const std::string& name, std::string_view text) {
  Seed(target, name, fuzz::Bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}
void SeedScript(const std::string& target, const std::string& name, std::string_view utf8) {
  Seed(target, name, fuzz::StoredScript(utf8));
}

std::vector<uint8_t> Jpeg(const Picture& p, bool gray) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = p.width();
  cinfo.image_height = p.height();
  cinfo.input_components = gray ? 1 : 3;
  cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 75, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(p.width() * 3);
  for (int y = 0; y < p.height(); ++y) {
    const uint8_t* src = p.Row(y);
    for (int x = 0; x < p.width(); ++x) row[x] = src[x * 3 + 1];
    JSAMPROW rows[1] = {gray ? row.data() : const_cast<uint8_t*>(src)};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  free(buffer);
  return bytes;
}

constexpr const char* kConfig =
    "; a small configuration\nTITLE:ゲーム\nMAKER:Quill\nMAKER_REG:Quill\nGAME_ID:SEED\n"
    "DEFAULT_NAME:春野\nTXW_OFS_X:0\nTXW_OFS_Y:420\nTXW_SIZE_X:800\nTXW_SIZE_Y:180\n"
    "FONT_NAME:ＭＳ ゴシック\nFONT_SIZE:24\nMOJI_MAX_X:54\nMOJI_MAX_Y:4\n"
    "TACHI_DEFAULT:400,250,550,200,400,600,100,300,500,700\nCFG_GRA:CFG01,CFG02\n"
    "CFG_WM_WIN:10,20,110,40\nCFG_VOL1:100,200\nNAME:1,葵,8CG\nNAME:2,蓮,GB6\n";

void Archives() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> scripts = {
      {"main", fuzz::StoredScript(":start\n*chain day1\n")},
      {"day1", fuzz::StoredScript("テキスト\n\\\n")}};
  Seed("archive_index", "scripts.qlm", fuzz::ScriptArchive(scripts));
  Seed("archive_index", "pictures.qlm",
       fuzz::PictureArchive(
           {{"BG01", fuzz::GradientPicture(4, 3, 1)}, {"CH01", fuzz::GradientPicture(2, 2, 2)}}));
  std::string error;
  Seed("archive_index", "empty.qlm", *BuildArchive(ArchiveLayout::DeclaredWidth, {}, 16, &error));

  Seed("script_archive", "two.qlm", fuzz::ScriptArchive(scripts));
  Seed("script_archive", "config.qlm",
       fuzz::ScriptArchive({{"_config", fuzz::StoredScript(kConfig)}, {"EMPTY", {}}}));
}

void Scripts() {
  SeedScript(
      "script_lines", "text.txt",
      ":start\n*win_open\n>葵\n「おはよう、＄１。<そら>空が青い」\n\\\n二行目[wait 3]です。\n=\n"
      "続き\n~\n*end\n");
  SeedScript("script_lines", "vars.txt",
             "!V001=3;F002=1\n:loop\n!V001=V001-1\n*if (V001>0) loop\n*cjmp 2,a,b\n:a\n:b\n"
             "*string 2 クイル\n>＄２\n名前\n\\\n");
  SeedScript("script_lines", "pictures.txt",
             "*bg BG01,3\n*spr CH01,1\n*gra CH01,2 L\n*grb CH02 R\n*spr #PAIR,1\n*clrb 1L\n"
             "*bg S8CG,5\n*wipeset BG01\n*effect SHAKE\n*ovr BG01\n*fix\n*wait 5\n*delay 2\n+\n");
  SeedScript(
      "script_lines", "calls.txt",
      ":start\n{:skip\nhidden\n}\n*call main sub\n*end\n:sub\n*mark 3\nsub text\n\\\n*end\n");

  SeedText("expressions", "sum.txt", "V001+3*2-R10/V002");
  SeedText("expressions", "condition.txt", "(V001>=3&F002=1|S028<>0,T0100)");
  SeedText("expressions", "assign.txt", "V001=V002+1;F003=1;PV001=R100;S028=2;G1=V001%7");

  SeedScript("game_config", "config.txt", kConfig);
  SeedScript("sprite_sets", "sets.txt",
             "; parts\n:PAIR\nSP01\nSP02,10,-4\n:SOLO\nsp02,3,3\n:END\n");
  SeedScript("effect_script", "effects.txt",
             ":FLASH\nF,20,FGGG,30,F000A,40\n:NEG\nN,30,30,30\n:SHAKE\nS,20,4,0,-4,0,0,4\n");

  SeedText("picture_arguments", "side.txt", "BG01,3 L");
  SeedText("picture_arguments", "colour.txt", "S8cG,12]rest");
  SeedText("picture_arguments", "clear.txt", "2R");

  SeedText("scenario", "run.txt",
           "0 size 800 600 # screen\n500 click 400 300\n600 move 120 80\n700 down 1 2\n"
           "710 up 1 2\n800 wheel up\n900 key F5\n910 keydown CTRL\n920 keyup CTRL\n950 char z\n"
           "1000 shot out/page1.png\n1000 state out/state.json\n1200 dialog save 3\n5000 quit\n");
}

void Pictures() {
  Picture p = fuzz::GradientPicture(9, 7, 5);
  for (int k = 0; k < 4; ++k) {
    PackedPictureOptions o;
    o.rle = k & 1;
    o.delta = k & 2;
    Seed("packed_picture", "stages" + std::to_string(k) + ".pic", *EncodePackedPicture(p, o));
  }
  Seed("packed_picture", "flat.pic", *EncodePackedPicture(Picture(16, 2), {true, true, true}));
  Seed("jpeg_picture", "colour.jpg", Jpeg(fuzz::GradientPicture(17, 9, 3), false));
  Seed("jpeg_picture", "gray.jpg", Jpeg(fuzz::GradientPicture(8, 8, 1), true));
  Seed("bmp_file", "gradient.bmp", EncodeBmp(fuzz::GradientPicture(7, 5, 3)));
  Seed("bmp_file", "wide.bmp", EncodeBmp(fuzz::GradientPicture(33, 2, 1)));
}

void SettingsFiles() {
  fs::path file = fuzz::ScratchFolder() / "seed.ini";
  SettingsStore store(file, [](const std::string&) {});
  store.WriteInt("Vol1", -1500);
  store.WriteInt("SMode", 1);
  store.WriteString("PlayerName", "\x8f\x74\x96\xec");  // 春野
  store.WriteString("CDDir", "D:\\game\\\tx");
  Seed("settings_file", "values.ini", *ReadFile(file));
}

}  // namespace

int main(int argc, char** argv) {
  out_root = argc > 1 ? argv[1] : "fuzz/corpus";
  Archives();
  Scripts();
  Pictures();
  SettingsFiles();
  std::printf("seeds written to %s\n", out_root.c_str());
  return 0;
}
