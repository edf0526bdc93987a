#pragma once
// The text log: every displayed row of text (and every voice, as "@NAME") as plain lines of at
// most 69 bytes. 200 completed lines are kept; the 201st record holds the line being written.
#include <array>
#include <cstdint>
#include <string_view>

namespace quill {

constexpr int kTextLogLines = 201;
constexpr int kTextLogMaxCompleted = 200;
constexpr int kTextLogLineBytes = 70;  // 69 bytes of text and the NUL

class TextLog {
 public:
  TextLog() { Clear(); }
  void Clear();
  // Appends one character (one or two bytes) to the current line. A character that would not fit
  // in the line's 69 bytes is dropped, so a line never runs into the next record.
  void Append(std::string_view character);
  // Appends a whole text, character by character, with the same limit.
  void AppendText(std::string_view sjis);
  // Closes the current line; past 200 lines the oldest is lost.
  void EndLogLine();

  int line_count() const { return line_count_; }
  int write_position() const { return write_position_; }
  // Line i (0 .. line_count(); line_count() is the current, unfinished one).
  std::string_view Line(int i) const;
  std::string_view CurrentLine() const { return Line(line_count_); }

  // Save data: the raw records and the counters; Restore clamps counters into range.
  std::array<char, kTextLogLines * kTextLogLineBytes>& bytes() { return bytes_; }
  void Restore(int line_count, int write_position);

 private:
  std::array<char, kTextLogLines * kTextLogLineBytes> bytes_{};
  int line_count_ = 0;
  int write_position_ = 0;
};

}  // namespace quill
