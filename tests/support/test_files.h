#pragma once
// Files that tests write and read back: scenario and script texts, dumps, tool output.
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace quill::test {

// The source tree and the build tree.
std::filesystem::path SourceDir();
std::filesystem::path BinaryDir();
// Writes text as it is (no newline translation), creating missing folders.
void WriteText(const std::filesystem::path& path, const std::string& text);
// The file's bytes as text, or "<missing>".
std::string ReadText(const std::filesystem::path& path);
// A state dump or other JSON file; null (and a test failure naming it) when the file is missing,
// null when it does not parse.
nlohmann::json ReadJson(const std::filesystem::path& path);

}  // namespace quill::test
