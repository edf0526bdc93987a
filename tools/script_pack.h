#pragma once
// Scripts between their stored form (Shift-JIS lines each ending in NUL, masked, in a fixed-width
// archive) and UTF-8 text files, one text line per stored line.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/archive_index.h"

namespace quill {

constexpr size_t kMaxScriptBytes = 262144;
constexpr size_t kMaxScriptLineBytes = 2047;
constexpr size_t kMaxScriptNameBytes = kFixedNameWidth - 1;

// UTF-8 text to the plain (unmasked) stored bytes. On failure *error names label and line.
std::optional<std::vector<uint8_t>> ScriptTextToStored(std::string_view utf8,
                                                       std::string_view label, std::string* error);
// Plain stored bytes to UTF-8 text ending each line with '\n'. Bytes that do not convert become
// U+FFFD and are listed in *problems as "line N: …".
std::string StoredToScriptText(std::span<const uint8_t> plain,
                               std::vector<std::string>* problems = nullptr);

// A script member from UTF-8 text: converted and masked. Errors name `label` (default: the name).
std::optional<ArchiveMember> MakeScriptMember(std::string_view name, std::string_view utf8,
                                              std::string* error, std::string_view label = {});
// Every NAME.txt of a folder as a script member, sorted by name.
std::optional<std::vector<ArchiveMember>> ReadScriptFolder(const std::filesystem::path& dir,
                                                           std::string* error);
// Writes a script archive from members made by MakeScriptMember.
bool WriteScriptArchive(const std::filesystem::path& out, const std::vector<ArchiveMember>& members,
                        std::string* error);

}  // namespace quill
