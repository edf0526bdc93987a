#include "engine/click_map_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quill {
namespace {

std::vector<uint8_t> Script(const std::string& text) {
  std::vector<uint8_t> out(text.begin(), text.end());
  for (uint8_t& b : out) {
    if (b == '\n') b = 0;
  }
  return out;
}

TEST(ClickMapScriptTest, EveryZoneKind) {
  auto script = Script(
      ":other\n1\nx,0,0,1,1\n"
      ":Room\n4\n$F8a,3\nplain,300,200,100,50\n*lit,1,2,3,4\n"
      "#shelf,10,20,110,120,0,600,50,650,400,300\n");
  std::vector<ClickZone> zones = ReadClickMap(script, "room");
  ASSERT_EQ(zones.size(), 4u);
  EXPECT_TRUE(zones[0].colour_zone);
  EXPECT_EQ(zones[0].colour, 0xF080A0u);
  EXPECT_EQ(zones[0].cursor, 3);
  EXPECT_EQ(zones[0].name, "$F8a");
  // Corners are put in order.
  EXPECT_EQ(zones[1].name, "plain");
  EXPECT_EQ((std::vector<int>{zones[1].left, zones[1].top, zones[1].right, zones[1].bottom}),
            (std::vector<int>{100, 50, 300, 200}));
  EXPECT_EQ(zones[2].name, "*lit");
  EXPECT_FALSE(zones[2].colour_zone);
  const ClickZone& shelf = zones[3];
  EXPECT_EQ((std::vector<int>{shelf.src_left, shelf.src_top, shelf.src_right, shelf.src_bottom,
                              shelf.pop_x, shelf.pop_y}),
            (std::vector<int>{0, 600, 50, 650, 400, 300}));
}

TEST(ClickMapScriptTest, BadEntriesAreClipped) {
  // The pop-up's place defaults to its source; missing numbers read 0; a count beyond the lines
  // gives the lines there are; more than 32 zones give 32; a missing map gives none.
  auto script = Script(":a\n9\n#p,1,2,3,4,5,6,7,8\nshort,5\n$zz\n");
  std::vector<ClickZone> a = ReadClickMap(script, "a");
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].pop_x, 5);
  EXPECT_EQ(a[0].pop_y, 6);
  EXPECT_EQ((std::vector<int>{a[1].left, a[1].top, a[1].right, a[1].bottom}),
            (std::vector<int>{0, 0, 5, 0}));
  EXPECT_EQ(a[2].colour, 0u);
  EXPECT_EQ(a[2].cursor, 0);

  std::string many = ":m\n40\n";
  for (int i = 0; i < 40; ++i) many += "z,0,0,1,1\n";
  EXPECT_EQ(ReadClickMap(Script(many), "m").size(), 32u);
  EXPECT_TRUE(ReadClickMap(script, "missing").empty());
  EXPECT_TRUE(ReadClickMap(Script(":a"), "a").empty());
  EXPECT_TRUE(ReadClickMap(Script(":a\n-3\nz,0,0,1,1\n"), "a").empty());
}

}  // namespace
}  // namespace quill
