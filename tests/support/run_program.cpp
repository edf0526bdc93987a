#include "tests/support/run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "common/file_util.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

namespace quill::test {

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
  TempDir io;
  std::string out_path = (io / "out").string(), err_path = (io / "err").string();
  std::string path = (BinaryDir() / program).string();
  ProgramResult result;
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    dup2(out, 1);
    dup2(err, 2);
    dup2(in, 0);
    std::vector<char*> argv;
    argv.push_back(path.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  auto read = [](const std::string& p) {
    auto bytes = ReadFile(p);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  };
  result.out = read(out_path);
  result.err = read(err_path);
  return result;
}

}  // namespace quill::test
