#include "persist/settings_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/sjis.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void Spit(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// A store that collects its reports.
struct Opened {
  std::vector<std::string> reports;
  SettingsStore store;
  explicit Opened(const fs::path& file)
      : store(file, [this](const std::string& r) { reports.push_back(r); }) {}
};

TEST(SettingsStoreTest, FreshStoreGivesDefaultsAndWritesNothing) {
  test::TempDir dir;
  fs::path file = SettingsStore::PathFor(dir.path(), "Maker", "Game");
  Opened o(file);
  EXPECT_FALSE(o.store.Has("Vol1"));
  EXPECT_EQ(o.store.ReadInt("Vol1", -700), -700);
  EXPECT_EQ(o.store.ReadString("FontName", "Gothic"), "Gothic");
  EXPECT_THAT(o.store.Values(), IsEmpty());
  EXPECT_THAT(o.reports, IsEmpty());
  EXPECT_FALSE(fs::exists(file));
}

TEST(SettingsStoreTest, ValuesSurviveReopening) {
  struct Case {
    const char* name;
    std::string text;  // Shift-JIS
  };
  const Case texts[] = {
      {"Empty", ""},
      {"Plain", "IPAGothic"},
      {"Japanese", Utf8ToSjisLossy("山田 太郎ｶﾀｶﾅ")},
      {"Specials", "a\nb\r\\c\td=e;f#g"},
      {"Controls", std::string("x\0y\x01\x7F", 5)},
      {"Unmapped", "\x85\x40\xA0z"},      // no Unicode form in code page 932
      {"LoneLead", "abc\x81"},            // cut in the middle of a character
      {"Duplicate", "\xEE\xEF\xFA\x40"},  // one character with two codes: both must stay
      {"Leading", "  spaced  "},
  };
  const std::pair<const char*, int32_t> ints[] = {
      {"Zero", 0}, {"Vol1", -3000}, {"Min", INT32_MIN}, {"Max", INT32_MAX}};

  test::TempDir dir;
  fs::path file = dir / "m" / "g.ini";
  {
    Opened o(file);
    for (const Case& c : texts) EXPECT_TRUE(o.store.WriteString(c.name, c.text)) << c.name;
    for (const auto& [name, v] : ints) EXPECT_TRUE(o.store.WriteInt(name, v)) << name;
  }
  Opened o(file);
  EXPECT_THAT(o.reports, IsEmpty());
  for (const Case& c : texts) EXPECT_EQ(o.store.ReadString(c.name, "default"), c.text) << c.name;
  for (const auto& [name, v] : ints) EXPECT_EQ(o.store.ReadInt(name, 1), v) << name;

  // The file stays readable text: Japanese as UTF-8, one value a line.
  std::string content = Slurp(file);
  EXPECT_THAT(content, HasSubstr("\nJapanese=str:山田 太郎ｶﾀｶﾅ\n"));
  EXPECT_THAT(content, HasSubstr("\nVol1=int:-3000\n"));
  EXPECT_THAT(content, HasSubstr("\nSpecials=str:a\\nb\\r\\\\c\\td=e;f#g\n"));
}

TEST(SettingsStoreTest, NamesIgnoreCaseAndTypesStayApart) {
  test::TempDir dir;
  fs::path file = dir / "g.ini";
  Opened o(file);
  ASSERT_TRUE(o.store.WriteInt("Vol1", -100));
  ASSERT_TRUE(o.store.WriteInt("VOL1", -200));
  EXPECT_EQ(o.store.ReadInt("vol1", 0), -200);
  ASSERT_THAT(o.store.Values(), SizeIs(1));
  EXPECT_EQ(o.store.Values()[0].name, "Vol1");  // the first spelling stays

  ASSERT_TRUE(o.store.WriteString("FontName", "5"));
  EXPECT_TRUE(o.store.Has("fontname"));
  EXPECT_EQ(o.store.ReadInt("FontName", 7), 7);  // a string is not an integer
  ASSERT_TRUE(o.store.WriteInt("fontNAME", 9));  // a write of the other type replaces it
  EXPECT_EQ(o.store.ReadString("FontName", "none"), "none");
  EXPECT_EQ(o.store.ReadInt("FontName", 7), 9);

  for (const char* bad : {"", "A=B", "With space", "Line\nBreak", ";Comment"}) {
    EXPECT_FALSE(o.store.WriteInt(bad, 1)) << bad;
  }
  EXPECT_THAT(o.store.Values(), SizeIs(2));
}

TEST(SettingsStoreTest, HandEditedFileReads) {
  test::TempDir dir;
  fs::path file = dir / "g.ini";
  Spit(file,
       "\xEF\xBB\xBF; comment\r\n"
       "# another comment\r\n"
       "\r\n"
       "  Vol1 = int: -10 \r\n"
       "PlayerName=STR:山田\r\n"
       "Seen=int:+1");  // no final newline
  Opened o(file);
  EXPECT_THAT(o.reports, IsEmpty());
  EXPECT_EQ(o.store.ReadInt("Vol1", 0), -10);
  EXPECT_EQ(o.store.ReadString("PlayerName", ""), Utf8ToSjisLossy("山田"));
  EXPECT_EQ(o.store.ReadInt("Seen", 0), 1);
}

TEST(SettingsStoreTest, DamagedFilesFallBackToDefaults) {
  struct Case {
    const char* what;
    std::string content;
    std::vector<std::pair<std::string, int32_t>> readable;  // values that survive
  };
  std::string binary;
  for (int i = 0; i < 512; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  const Case cases[] = {
      {"garbage lines",
       "Vol1=int:-500\nthis is not a setting\nVol2=int:12abc\nVol3=float:1\n=int:4\nSeen=int:0\n",
       {{"Vol1", -500}, {"Seen", 0}}},
      {"out of range", "Clear=int:99999999999\nSeen=int:0\n", {{"Seen", 0}}},
      {"truncated integer", "Seen=int:0\nVol1=int:", {{"Seen", 0}}},
      {"truncated escape", "Seen=int:0\nPlayerName=str:abc\\", {{"Seen", 0}}},
      {"truncated byte escape", "Seen=int:0\nPlayerName=str:abc\\x8", {{"Seen", 0}}},
      {"truncated UTF-8", "Seen=int:0\nPlayerName=str:\xE5\xB1", {{"Seen", 0}}},
      {"binary", binary, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    fs::path file = dir / "g.ini";
    Spit(file, c.content);
    Opened o(file);
    EXPECT_THAT(o.reports, SizeIs(1));
    EXPECT_EQ(o.store.Values().size(), c.readable.size());
    for (const auto& [name, v] : c.readable) EXPECT_EQ(o.store.ReadInt(name, 77), v) << name;
    EXPECT_EQ(o.store.ReadInt("Vol2", 1234), 1234);
    EXPECT_EQ(o.store.ReadString("PlayerName", "dflt"), "dflt");
    EXPECT_THAT(o.reports, SizeIs(1));  // reading on does not report again

    // The next write makes a clean file and keeps the damaged one aside.
    ASSERT_TRUE(o.store.WriteInt("BGM_ENA", 0));
    EXPECT_EQ(Slurp(fs::path(file.string() + ".damaged")), c.content);
    Opened again(file);
    EXPECT_THAT(again.reports, IsEmpty());
    EXPECT_EQ(again.store.ReadInt("BGM_ENA", 1), 0);
    for (const auto& [name, v] : c.readable) EXPECT_EQ(again.store.ReadInt(name, 77), v) << name;
  }
}

TEST(SettingsStoreTest, UnreadableFileIsReportedOnce) {
  test::TempDir dir;
  fs::path file = dir / "g.ini";
  fs::create_directories(file);  // a folder where the file should be
  Opened o(file);
  EXPECT_THAT(o.reports, SizeIs(1));
  EXPECT_EQ(o.store.ReadInt("Seen", 1), 1);
}

TEST(SettingsStoreTest, UnwritableFolderKeepsValuesInMemory) {
  test::TempDir dir;
  Spit(dir / "blocker", "a file, not a folder");
  fs::path file = dir / "blocker" / "g.ini";
  Opened o(file);
  EXPECT_FALSE(o.store.WriteInt("Vol1", -900));
  EXPECT_FALSE(o.store.WriteString("PlayerName", "abc"));
  EXPECT_FALSE(o.store.writable());
  EXPECT_EQ(o.store.ReadInt("Vol1", 0), -900);
  EXPECT_EQ(o.store.ReadString("PlayerName", ""), "abc");
  EXPECT_THAT(o.reports, SizeIs(1));
  EXPECT_THAT(o.reports[0], HasSubstr("cannot be written"));
}

TEST(SettingsStoreTest, BatchWritesOnceAtTheEnd) {
  test::TempDir dir;
  fs::path file = dir / "g.ini";
  Opened o(file);
  {
    SettingsStore::Batch batch(o.store);
    for (int i = 0; i < 10; ++i) o.store.WriteInt("GV0" + std::to_string(i), i * 10);
    {
      SettingsStore::Batch inner(o.store);
      o.store.WriteInt("Clear", 1);
    }
    EXPECT_FALSE(fs::exists(file));
  }
  Opened again(file);
  EXPECT_EQ(again.store.ReadInt("GV07", 0), 70);
  EXPECT_EQ(again.store.ReadInt("Clear", 0), 1);
}

TEST(SettingsStoreTest, PathPartsStayInsideTheirFolder) {
  struct Case {
    std::string sjis;
    std::string expected;
  };
  const Case cases[] = {
      {"MakerSoft", "MakerSoft"},
      {"Software\\Maker\\Game", "Software_Maker_Game"},
      {"a/b", "a_b"},
      {"..", "_."},
      {"../..", "_._._"},
      {".hidden", "_hidden"},
      {"v1.2", "v1.2"},
      {"a..b", "a._b"},
      {"", "_"},
      {std::string("a\x01\tb\x7F", 5), "a__b_"},
      {Utf8ToSjisLossy("ゲーム 01"), "ゲーム 01"},
      {"\x81", "\xEF\xBF\xBD"},  // a byte that does not convert: the replacement character
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sjis);
    EXPECT_EQ(SettingsStore::SanitisePathPart(c.sjis), c.expected);
  }
  // At most 200 bytes, cut between characters.
  EXPECT_EQ(SettingsStore::SanitisePathPart(
                Utf8ToSjisLossy(std::string(190, 'a') + "あいうえおかきくけこ")),
            std::string(190, 'a') + "あいう");

  EXPECT_EQ(SettingsStore::PathFor("/cfg/quill", "Soft\\Maker", "GAME1"),
            fs::path("/cfg/quill/Soft_Maker/GAME1.ini"));
  EXPECT_EQ(SettingsStore::PathFor("/cfg/quill", "..", "../../x"),
            fs::path("/cfg/quill/_./_._.__x.ini"));
}

}  // namespace
}  // namespace quill
