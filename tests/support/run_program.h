#pragma once
// Runs one of the built programs (quill, qlmtool) and collects what it printed.
#include <string>
#include <vector>

namespace quill::test {

struct ProgramResult {
  int exit_code = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// program is "quill" or "qlmtool" (from the build folder); args are passed as they are.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace quill::test
