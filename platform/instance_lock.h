// Only one copy of a version runs at a time: an exclusive lock on a file
// named by the title text. The kernel drops it when the process ends, so a
// crash never leaves a stale guard.
#pragma once

#include <string>

namespace tarnwick {

class InstanceLock {
 public:
  // Tries to take the lock; Held() tells whether it was taken.
  explicit InstanceLock(const std::string& title);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  void Release();

  // $XDG_RUNTIME_DIR/<title>.lock, else the temp folder with the user id.
  static std::string PathFor(const std::string& title);

 private:
  int fd_ = -1;
};

}  // namespace tarnwick
