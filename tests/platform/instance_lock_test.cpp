#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

TEST(InstanceLock, OnlyOneProcessHoldsIt) {
  test::TempDir dir;
  InstanceLock first(dir / "QUILLMACHINE.lock");
  ASSERT_TRUE(first.held());
  // flock locks belong to the open file, so a second process is the honest test.
  pid_t child = fork();
  if (child == 0) {
    InstanceLock second(dir / "QUILLMACHINE.lock");
    _exit(second.held() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(InstanceLock, IsFreeAgainOnceReleased) {
  test::TempDir dir;
  { InstanceLock first(dir / "QUILLMACHINE.lock"); }
  InstanceLock again(dir / "QUILLMACHINE.lock");
  EXPECT_TRUE(again.held());
}

TEST(InstanceLock, ALinkPlantedAtItsNameIsNotFollowed) {
  test::TempDir dir;
  fs::path target = dir / "elsewhere";
  fs::create_symlink(target, dir / "QUILLMACHINE.lock");
  InstanceLock lock(dir / "QUILLMACHINE.lock");
  EXPECT_FALSE(lock.held());
  EXPECT_FALSE(fs::exists(target));
}

TEST(InstanceLock, AFileOfAnotherUsersIsNotUsed) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  test::TempDir dir;
  fs::path path = dir / "QUILLMACHINE.lock";
  { InstanceLock mine(path); }
  ASSERT_EQ(chown(path.c_str(), 4321, 4321), 0);
  InstanceLock lock(path);
  EXPECT_FALSE(lock.held());
}

// Sets an environment variable for one scope (nullptr: unset).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(InstanceLockPath, IsTheUsersOwn) {
  {
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1234");
    EXPECT_EQ(InstanceLockPath(), fs::path("/run/user/1234/QUILLMACHINE.lock"));
  }
  // Without a runtime folder the temporary folder is shared by every user: the name carries the
  // user's number.
  test::TempDir tmp;
  ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
  ScopedEnv temp("TMPDIR", tmp.path().c_str());
  EXPECT_EQ(InstanceLockPath(),
            tmp.path() / ("quill-" + std::to_string(geteuid()) + "-QUILLMACHINE.lock"));
  ScopedEnv empty("XDG_RUNTIME_DIR", "");
  EXPECT_EQ(InstanceLockPath().parent_path(), tmp.path());
}

}  // namespace
}  // namespace quill
