#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quill {
namespace fs = std::filesystem;

fs::path InstanceLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return fs::path(runtime) / "QUILLMACHINE.lock";
  std::error_code ec;
  fs::path temp = fs::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  return temp / ("quill-" + std::to_string(geteuid()) + "-QUILLMACHINE.lock");
}

InstanceLock::InstanceLock(const fs::path& path) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  // In a shared folder the name could have been taken by someone else first: a link is not
  // followed and a file of another user's is not used.
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return;
  struct stat st {};
  if (fstat(fd, &st) != 0 || st.st_uid != geteuid()) {
    close(fd);
    return;
  }
  // The kernel drops the lock when the process ends, however it ends.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return;
  }
  fd_ = fd;
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace quill
