#pragma once
// The single-instance lock "QUILLMACHINE": a lock file held for the life of the process, one per
// user, as the desktop's own is one per session.
#include <filesystem>

namespace quill {

// $XDG_RUNTIME_DIR/QUILLMACHINE.lock, or, without a runtime folder, a name of the user's own in
// the temporary folder (quill-UID-QUILLMACHINE.lock), so that one user's game never refuses
// another's.
std::filesystem::path InstanceLockPath();

class InstanceLock {
 public:
  // Takes the lock at path; held() is false when another process holds it, or when the file is
  // a symbolic link or belongs to another user.
  explicit InstanceLock(const std::filesystem::path& path);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace quill
