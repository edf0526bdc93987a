#pragma once
// A small streaming JSON writer for state dumps and tool output. Strings are UTF-8.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // In an object, each value is preceded by its key.
  JsonWriter& Key(std::string_view key);
  JsonWriter& Int(int64_t v);
  JsonWriter& Bool(bool v);
  JsonWriter& String(std::string_view utf8);
  JsonWriter& Null();

  // Shorthands for a key with a value.
  JsonWriter& Field(std::string_view key, int64_t v) { return Key(key).Int(v); }
  JsonWriter& Field(std::string_view key, int v) { return Key(key).Int(v); }
  JsonWriter& Field(std::string_view key, bool v) { return Key(key).Bool(v); }
  JsonWriter& Field(std::string_view key, std::string_view v) { return Key(key).String(v); }
  JsonWriter& Field(std::string_view key, const char* v) { return Key(key).String(v); }
  template <typename T>
  JsonWriter& IntArray(std::string_view key, const std::vector<T>& values) {
    Key(key).BeginArray();
    for (const T& v : values) Int(static_cast<int64_t>(v));
    return EndArray();
  }

  const std::string& str() const { return out_; }

 private:
  void BeforeValue();
  std::string out_;
  std::vector<bool> first_;  // per open container: no element written yet
  bool after_key_ = false;
};

}  // namespace quill
