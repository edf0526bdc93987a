#include "graphics/parts_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/file_util.h"
#include "common/text_util.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_pictures.h"
#include "tools/picture_encoder.h"

namespace quill {
namespace {

using test::Solid;

class PartsloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<ArchiveMember> members;
    for (auto& [name, picture] :
         {std::pair{"PARTS", Solid(10, 4, 1, 2, 3)}, std::pair{"PRESSED", Solid(10, 4, 4, 5, 6)}}) {
      members.push_back({name, *EncodePackedPicture(picture, {})});
    }
    std::string error;
    auto bytes = BuildArchive(ArchiveLayout::DeclaredWidth, members, 32, &error);
    ASSERT_TRUE(bytes) << error;
    ASSERT_TRUE(WriteFileAtomic(dir_ / "mg_gra.qlm", *bytes, &error)) << error;
    ASSERT_TRUE(loader_.OpenArchive(PictureArchiveRole::kPictures1, dir_ / "mg_gra.qlm", &error));
  }
  test::TempDir dir_;
  PictureLoader loader_;
  Picture parts = Solid(2, 2, 9, 9, 9);
  Picture pressed = Solid(2, 2, 8, 8, 8);
};

TEST_F(PartsloadTest, WithAndWithoutPressedPicture) {
  EXPECT_EQ(RunPartsload("parts,pressed", loader_, parts, pressed), 1);
  EXPECT_EQ(parts, Solid(10, 4, 1, 2, 3));
  EXPECT_EQ(pressed, Solid(10, 4, 4, 5, 6));

  pressed = Solid(2, 2, 8, 8, 8);
  parts = Solid(2, 2, 9, 9, 9);
  EXPECT_EQ(RunPartsload("parts", loader_, parts, pressed), 0);
  EXPECT_EQ(parts, Solid(10, 4, 1, 2, 3));
  EXPECT_EQ(pressed, Solid(2, 2, 8, 8, 8));
}

TEST_F(PartsloadTest, MissingPicturesKeepThePreviousContent) {
  EXPECT_EQ(RunPartsload("nothing,pressed", loader_, parts, pressed), 1);
  EXPECT_EQ(parts, Solid(2, 2, 9, 9, 9));
  EXPECT_EQ(pressed, Solid(10, 4, 4, 5, 6));
  // Only the first comma splits: the pressed name is "pressed,x", which no archive holds.
  pressed = Solid(2, 2, 8, 8, 8);
  EXPECT_EQ(RunPartsload("parts,pressed,x", loader_, parts, pressed), 1);
  EXPECT_EQ(pressed, Solid(2, 2, 8, 8, 8));
}

TEST(PtsetArguments, SixFieldsUpperCasedWithTabsAsBlanks) {
  std::vector<std::string> seen;
  auto evaluate = [&](std::string_view text) {
    seen.emplace_back(text);
    return ParseInt(!text.empty() && text[0] == 'V' ? text.substr(1) : text);  // V1 reads as 1
  };
  PtsetArguments a = ReadPtsetArguments("v1\t,2,-3,4,5,6", evaluate);
  EXPECT_EQ(a, (PtsetArguments{1, 2, -3, 4, 5, 6}));
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0], "V1 ,2,-3,4,5,6");  // each field is handed over from its first character
  EXPECT_EQ(seen[5], "6");

  seen.clear();
  EXPECT_EQ(ReadPtsetArguments("7,8", evaluate), (PtsetArguments{7, 8, 0, 0, 0, 0}));
  EXPECT_EQ(seen.size(), 2u);  // fields the text does not have are not evaluated
}

// A 120 x 60 parts picture whose pixels tell their position; the column x = 5 is cyan.
Picture PositionParts() {
  Picture p(120, 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 120; ++x) {
      uint8_t* px = p.Pixel(x, y);
      px[0] = static_cast<uint8_t>(x), px[1] = static_cast<uint8_t>(y), px[2] = 100;
      if (x == 5) px[0] = 255, px[1] = 255, px[2] = 0;
    }
  }
  return p;
}

TEST(DrawPtset, CopiesTheRectangleWithCyanLeftOut) {
  const Picture parts = PositionParts();
  Picture display = Solid(800, 600, 7, 7, 7);
  DrawPtset(parts, {0, 0, 100, 50, 300, 200}, display);
  for (int y = 195; y < 255; ++y) {
    for (int x = 295; x < 405; ++x) {
      const uint8_t* d = display.Pixel(x, y);
      bool inside = x >= 300 && x < 400 && y >= 200 && y < 250;
      if (!inside || x == 305) {
        ASSERT_EQ(d[0], 7) << x << "," << y;  // outside, or the cyan column: untouched
        ASSERT_EQ(d[2], 7) << x << "," << y;
      } else {
        ASSERT_EQ(d[0], x - 300) << x << "," << y;
        ASSERT_EQ(d[1], y - 200) << x << "," << y;
        ASSERT_EQ(d[2], 100) << x << "," << y;
      }
    }
  }
}

TEST(DrawPtset, ClipsAtTheDisplayAndDrawsBlackOutsideTheParts) {
  const Picture parts = PositionParts();
  struct Case {
    const char* what;
    PtsetArguments a;
    int x, y;     // a display pixel to look at
    int b, g, r;  // what it must hold (7 7 7: untouched)
  };
  const Case cases[] = {
      {"off the display's right edge", {10, 10, 60, 20, 790, 0}, 799, 5, 19, 15, 100},
      {"negative destination", {10, 10, 60, 20, -5, -5}, 0, 0, 15, 15, 100},
      {"source beyond the parts picture is black", {100, 0, 200, 10, 0, 0}, 30, 2, 0, 0, 0},
      {"negative source is black", {-10, 0, 20, 10, 0, 0}, 3, 3, 0, 0, 0},
      {"empty rectangle draws nothing", {50, 50, 50, 60, 0, 0}, 0, 0, 7, 7, 7},
      {"reversed rectangle draws nothing", {60, 50, 10, 60, 0, 0}, 0, 0, 7, 7, 7},
      {"huge rectangle is bounded by the display",
       {0, 0, 2000000000, 2000000000, 0, 0},
       799,
       599,
       0,
       0,
       0},
  };
  for (const Case& c : cases) {
    Picture display = Solid(800, 600, 7, 7, 7);
    DrawPtset(parts, c.a, display);
    const uint8_t* d = display.Pixel(c.x, c.y);
    EXPECT_EQ(d[0], c.b) << c.what;
    EXPECT_EQ(d[1], c.g) << c.what;
    EXPECT_EQ(d[2], c.r) << c.what;
  }
}

}  // namespace
}  // namespace quill
