#pragma once
// The single-instance lock "QUILLMACHINE": a lock file held for the life of the process.
#include <filesystem>

namespace quill {

class InstanceLock {
 public:
  // Takes the lock in folder; held() is false when another process holds it.
  explicit InstanceLock(const std::filesystem::path& folder);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace quill
