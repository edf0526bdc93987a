#include "common/json_writer.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace quill {
namespace {

TEST(JsonWriter, WritesNestedValuesThatParse) {
  JsonWriter w;
  w.BeginObject();
  w.Field("n", 5).Field("t", true).Field("s", "a\"b\\c\n\x01");
  w.IntArray("list", std::vector<int>{1, -2});
  w.Key("objects").BeginArray();
  w.BeginObject().Field("name", "x").EndObject();
  w.BeginObject().EndObject();
  w.EndArray();
  w.EndObject();
  auto j = nlohmann::json::parse(w.str());
  EXPECT_EQ(j["n"], 5);
  EXPECT_EQ(j["t"], true);
  EXPECT_EQ(j["s"], "a\"b\\c\n\x01");
  EXPECT_EQ(j["list"], nlohmann::json::array({1, -2}));
  EXPECT_EQ(j["objects"][0]["name"], "x");
  EXPECT_TRUE(j["objects"][1].empty());
}

}  // namespace
}  // namespace quill
