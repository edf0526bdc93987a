#include "tools/script_pack.h"

#include <algorithm>

#include "common/file_util.h"
#include "common/sjis.h"
#include "engine/script_mask.h"

namespace quill {
namespace fs = std::filesystem;

std::optional<std::vector<uint8_t>> ScriptTextToStored(std::string_view utf8,
                                                       std::string_view label, std::string* error) {
  std::vector<uint8_t> out;
  size_t start = 0;
  int line_number = 0;
  auto fail = [&](const std::string& what) -> std::optional<std::vector<uint8_t>> {
    if (error) *error = std::string(label) + ":" + std::to_string(line_number) + ": " + what;
    return std::nullopt;
  };
  if (utf8.starts_with("\xEF\xBB\xBF")) start = 3;  // a byte-order mark is not script text
  while (start < utf8.size()) {
    size_t end = utf8.find('\n', start);
    if (end == std::string_view::npos) end = utf8.size();
    std::string_view line = utf8.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos) return fail("the line holds a NUL byte");
    Conversion sjis = Utf8ToSjis(line);
    if (!sjis.ok()) {
      return fail("column " + std::to_string(sjis.bad_offsets[0] + 1) +
                  ": the text has a character with no Shift-JIS form");
    }
    if (sjis.text.size() > kMaxScriptLineBytes) {
      return fail("the line is " + std::to_string(sjis.text.size()) +
                  " bytes in Shift-JIS, more than " + std::to_string(kMaxScriptLineBytes));
    }
    out.insert(out.end(), sjis.text.begin(), sjis.text.end());
    out.push_back(0);
    if (out.size() > kMaxScriptBytes) {
      return fail("the script passes " + std::to_string(kMaxScriptBytes) + " bytes here");
    }
  }
  return out;
}

std::string StoredToScriptText(std::span<const uint8_t> plain, std::vector<std::string>* problems) {
  std::string text;
  size_t start = 0;
  int line_number = 0;
  while (start < plain.size()) {
    auto nul = std::find(plain.begin() + start, plain.end(), uint8_t{0});
    size_t end = static_cast<size_t>(nul - plain.begin());
    ++line_number;
    std::string_view line(reinterpret_cast<const char*>(plain.data()) + start, end - start);
    Conversion utf8 = SjisToUtf8(line);
    if (!utf8.ok() && problems) {
      problems->push_back("line " + std::to_string(line_number) + ": " +
                          std::to_string(utf8.bad_offsets.size()) +
                          " bytes are not Shift-JIS and were replaced");
    }
    text += utf8.text;
    text += '\n';
    start = end + 1;
  }
  return text;
}

std::optional<ArchiveMember> MakeScriptMember(std::string_view name, std::string_view utf8,
                                              std::string* error, std::string_view label) {
  if (name.empty() || name.size() > kMaxScriptNameBytes) {
    if (error) {
      *error = std::string(label.empty() ? name : label) + ": a script name is 1 to " + std::to_string(kMaxScriptNameBytes) +
               " bytes";
    }
    return std::nullopt;
  }
  auto stored = ScriptTextToStored(utf8, label.empty() ? name : label, error);
  if (!stored) return std::nullopt;
  MaskScript(*stored);
  return ArchiveMember{std::string(name), std::move(*stored)};
}

std::optional<std::vector<ArchiveMember>> ReadScriptFolder(const fs::path& dir, std::string* error) {
  std::error_code ec;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  if (ec) {
    if (error) *error = dir.string() + ": " + ec.message();
    return std::nullopt;
  }
  std::sort(files.begin(), files.end());
  std::vector<ArchiveMember> members;
  for (const fs::path& file : files) {
    auto bytes = ReadFile(file);
    if (!bytes) {
      if (error) *error = file.string() + ": cannot read the file";
      return std::nullopt;
    }
    std::string text(bytes->begin(), bytes->end());
    auto member = MakeScriptMember(file.stem().string(), text, error, file.string());
    if (!member) return std::nullopt;
    members.push_back(std::move(*member));
  }
  return members;
}

bool WriteScriptArchive(const fs::path& out, const std::vector<ArchiveMember>& members,
                        std::string* error) {
  auto bytes = BuildArchive(ArchiveLayout::FixedWidth, members, 0, error);
  if (!bytes) return false;
  return WriteFileAtomic(out, *bytes, error);
}

}  // namespace quill
