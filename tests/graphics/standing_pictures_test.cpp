#include "graphics/standing_pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/file_util.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_pictures.h"

namespace quill {
namespace {

using test::Solid;
using test::Packed;
using Bytes = std::vector<uint8_t>;

class StandingPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // B01 … B06: 10 × 20 pictures of blue 10·n; M01 … M06 their masks, grey 40·n.
    std::vector<ArchiveMember> members;
    for (int n = 1; n <= 6; ++n) {
      std::string digits = "0" + std::to_string(n);
      members.push_back({"B" + digits, Packed(Solid(10, 20, uint8_t(10 * n), 1, 2))});
      members.push_back(
          {"M" + digits, Packed(Solid(10, 20, uint8_t(40 * n), uint8_t(40 * n), uint8_t(40 * n)))});
    }
    // Side by side: picture (blue 90) on the left, mask (grey 200) on the right.
    Picture pair(400, 600);
    pair.FillRect({0, 0, 200, 600}, 90, 0, 0);
    pair.FillRect({200, 0, 200, 600}, 200, 200, 200);
    members.push_back({"BPAIR", Packed(pair)});
    Install(PictureArchiveRole::kPictures1, "mg_gra.qlm", members);
  }

  void Install(PictureArchiveRole role, const std::string& file,
               const std::vector<ArchiveMember>& members) {
    std::string error;
    auto bytes = BuildArchive(ArchiveLayout::DeclaredWidth, members, 32, &error);
    ASSERT_TRUE(bytes) << error;
    ASSERT_TRUE(WriteFileAtomic(dir_ / file, *bytes, &error)) << error;
    ASSERT_TRUE(loader_.OpenArchive(role, dir_ / file, &error)) << error;
  }

  int Set(std::string_view list) {
    return standing_.SetStandingPictures(list, StandingLoad{loader_, tachi_type_, scratch_});
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int k = 0; k < kStandingNameCount; ++k) names.push_back(standing_.name(k));
    return names;
  }

  test::TempDir dir_;
  PictureLoader loader_;
  Picture scratch_{800, 600};
  int tachi_type_ = 0;
  StandingPictures standing_;
};

TEST_F(StandingPicturesTest, ListRules) {
  struct Case {
    const char* before;  // a list shown first (nullptr: none)
    const char* list;
    int transition, count;
    const char* text;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {nullptr, "B01", 1, 1, "B01", {"B01", "", "", "", ""}},
      {nullptr, "b01,b02", 1, 2, "B01,B02", {"B01", "B02", "", "", ""}},
      // A digit last is the transition, not a picture.
      {nullptr, "B01,B02,5", 5, 2, "B01,B02", {"B01", "B02", "5", "", ""}},
      {nullptr, "B01,B02,B03,B04,12", 12, 4, "B01,B02,B03,B04", {"B01", "B02", "B03", "B04", "12"}},
      // A trailing comma keeps one more (empty) position: the left picture of two.
      {nullptr, "B01,", 1, 2, "B01,", {"B01", "", "", "", ""}},
      {nullptr, "B01,5,", 5, 2, "B01,5", {"B01", "5", "", "", ""}},
      // "-" keeps the name shown before; a missing field empties it.
      {"B01,B02,B03", "-,B04", 1, 2, "B01,B04", {"B01", "B04", "", "", ""}},
      {"B01,B02", "-,-,3", 3, 2, "B01,B02", {"B01", "B02", "3", "", ""}},
      // Nothing to show.
      {"B01,B02", "", 0, 0, "", {"", "", "", "", ""}},
      {"B01,B02", ",,", 0, 0, "", {"", "", "", "", ""}},
      // One position whose name is empty is no position at all.
      {nullptr, ",7", 7, 0, "", {"", "7", "", "", ""}},
      // Five names are kept (and shown as none).
      {nullptr,
       "B01,B02,B03,B04,B05",
       1,
       5,
       "B01,B02,B03,B04,B05",
       {"B01", "B02", "B03", "B04", "B05"}},
  };
  for (const Case& c : cases) {
    standing_.StartUp();
    if (c.before) Set(c.before);
    EXPECT_EQ(Set(c.list), c.transition) << c.list;
    EXPECT_EQ(standing_.count(), c.count) << c.list;
    EXPECT_EQ(standing_.list_text(), c.text) << c.list;
    EXPECT_EQ(Names(), c.names) << c.list;
  }
}

TEST_F(StandingPicturesTest, CacheSlotsAreReplacedInTurnAndNeverReloaded) {
  const char* lists[] = {"B01", "B02", "B03", "B04", "B05", "B06"};
  const int expected_slot[] = {0, 1, 2, 3, 4, 0};
  for (int i = 0; i < 6; ++i) {
    Set(lists[i]);
    EXPECT_EQ(standing_.slot_index(0), expected_slot[i]) << lists[i];
    EXPECT_EQ(standing_.SlotFor(0).name, lists[i]);
    EXPECT_EQ(standing_.SlotFor(0).picture.Pixel(0, 0)[0], 10 * (i + 1)) << lists[i];
  }
  // B02 is still cached in slot 1: shown from there, the turn does not move.
  Set("B02");
  EXPECT_EQ(standing_.slot_index(0), 1);
  EXPECT_EQ(standing_.next_slot(), 1);

  // A later archive with another B03 does not replace the cached one.
  Install(PictureArchiveRole::kPictures3, "mg_gra3.qlm",
          {{"B03", Packed(Solid(10, 20, 250, 250, 250))}});
  Set("B02,B03");
  EXPECT_EQ(standing_.SlotFor(1).picture.Pixel(0, 0)[0], 30);
  EXPECT_EQ(standing_.next_slot(), 1);
}

TEST_F(StandingPicturesTest, TwoNewPicturesTakeTheNextSlotsInListOrder) {
  Set("B01,B02,B03,B04");
  for (int k = 0; k < 4; ++k) EXPECT_EQ(standing_.slot_index(k), k);
  // B05 and B06 are new: B05 replaces slot 4, B06 slot 0 (which held B01, not shown now).
  Set("B05,B02,B06");
  EXPECT_EQ(standing_.slot_index(0), 4);
  EXPECT_EQ(standing_.slot_index(1), 1);
  EXPECT_EQ(standing_.slot_index(2), 0);
  EXPECT_EQ(standing_.next_slot(), 1);
}

TEST_F(StandingPicturesTest, MaskIsThePictureNamedWithM) {
  Set("B03");
  const StandingSlot& slot = standing_.SlotFor(0);
  EXPECT_EQ(slot.mask.width(), 10);
  EXPECT_EQ(slot.mask.height(), 20);
  EXPECT_EQ(slot.mask.Pixel(9, 19)[1], 120);
}

TEST_F(StandingPicturesTest, SideBySideFileSplitsIntoPictureAndMask) {
  tachi_type_ = 1;
  Set("BPAIR");
  const StandingSlot& slot = standing_.SlotFor(0);
  ASSERT_EQ(slot.picture.width(), 200);
  ASSERT_EQ(slot.picture.height(), 600);
  ASSERT_EQ(slot.mask.width(), 200);
  ASSERT_EQ(slot.mask.height(), 600);
  EXPECT_EQ(slot.picture.Pixel(0, 0)[0], 90);
  EXPECT_EQ(slot.picture.Pixel(199, 599)[0], 90);
  EXPECT_EQ(slot.mask.Pixel(0, 0)[2], 200);
  EXPECT_EQ(slot.mask.Pixel(199, 599)[2], 200);
}

TEST_F(StandingPicturesTest, MissingPictureKeepsTheSlotContentUnderTheNewName) {
  for (const char* name : {"B01", "B02", "B03", "B04", "B05"}) Set(name);
  Set("BNONE");
  EXPECT_EQ(standing_.slot_index(0), 0);
  EXPECT_EQ(standing_.SlotFor(0).name, "BNONE");
  EXPECT_EQ(standing_.SlotFor(0).picture.Pixel(0, 0)[0], 10);  // B01's picture
  EXPECT_EQ(standing_.SlotFor(0).mask.Pixel(0, 0)[0], 40);

  // The same with side-by-side files.
  tachi_type_ = 1;
  Set("BNONE2");
  EXPECT_EQ(standing_.SlotFor(0).name, "BNONE2");
  EXPECT_EQ(standing_.SlotFor(0).picture.width(), 10);
  EXPECT_EQ(standing_.SlotFor(0).picture.Pixel(0, 0)[0], 20);  // B02's, from slot 1
}

TEST_F(StandingPicturesTest, StartUpSlotsAreNamedZero) {
  for (int i = 0; i < kStandingSlotCount; ++i) {
    EXPECT_EQ(standing_.slot(i).name, "0");
    EXPECT_EQ(standing_.slot(i).picture.width(), 200);
    EXPECT_EQ(standing_.slot(i).mask.height(), 600);
  }
  // A picture named 0 counts as cached: only B01 loads (into slot 0), and "0" is found in slot 1.
  Set("0,B01");
  EXPECT_EQ(standing_.slot_index(0), 1);
  EXPECT_EQ(standing_.slot_index(1), 0);
  EXPECT_EQ(standing_.next_slot(), 1);
  EXPECT_EQ(standing_.slot(1).picture.Pixel(0, 0)[0], 0);
}

TEST_F(StandingPicturesTest, SinglePlacementsAndSideClears) {
  struct Step {
    const char* name;  // nullptr: a clear
    char side;
    const char* text;
    int count;
  };
  const Step steps[] = {
      {"B01", 0, "B01", 1},
      // Right of a single picture: the single one goes.
      {"B02", 'R', ",B02", 2},
      {"B03", 'L', "B03,B02", 2},
      {"B04", 'R', "B03,B04", 2},
      {nullptr, 'L', ",B04", 2},  // clrb L: the right picture stays at its place
      {"B05", 'L', "B05,B04", 2},
      {nullptr, 'R', "B05,", 2},
      {nullptr, 0, "", 0},
  };
  for (const Step& s : steps) {
    if (s.name) {
      Set(standing_.PlaceSingle(s.name, s.side));
    } else if (s.side) {
      standing_.ClearSide(s.side == 'L');
    } else {
      standing_.Clear();
    }
    EXPECT_EQ(standing_.list_text(), s.text) << (s.name ? s.name : "clear") << " " << s.side;
    EXPECT_EQ(standing_.count(), s.count) << (s.name ? s.name : "clear") << " " << s.side;
  }
}

TEST(StandingRecord, ListTextFitsItsRecord) {
  EXPECT_EQ(FitRecord(std::string(70, 'B'), kStandingListBytes), std::string(59, 'B'));
  EXPECT_EQ(FitRecord("short", kStandingListBytes), "short");
  // A two-byte character that would cross the limit is left out whole.
  std::string text = std::string(58, 'B') + "\x82\xa0";
  EXPECT_EQ(FitRecord(text, kStandingListBytes), std::string(58, 'B'));
}

TEST_F(StandingPicturesTest, LongListIsCutToTheRecord) {
  std::string name(40, 'B');
  Set(name + "," + name);
  EXPECT_EQ(standing_.list_text().size(), 59u);
  EXPECT_EQ(standing_.count(), 2);
}

}  // namespace
}  // namespace quill
