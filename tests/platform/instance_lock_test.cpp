#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"

namespace quill {
namespace {

TEST(InstanceLock, OnlyOneProcessHoldsIt) {
  test::TempDir dir;
  InstanceLock first(dir.path());
  ASSERT_TRUE(first.held());
  // flock locks belong to the open file, so a second process is the honest test.
  pid_t child = fork();
  if (child == 0) {
    InstanceLock second(dir.path());
    _exit(second.held() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(InstanceLock, IsFreeAgainOnceReleased) {
  test::TempDir dir;
  { InstanceLock first(dir.path()); }
  InstanceLock again(dir.path());
  EXPECT_TRUE(again.held());
}

}  // namespace
}  // namespace quill
