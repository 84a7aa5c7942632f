#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace tarnwick {

std::string InstanceLock::PathFor(const std::string& title) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') {
    std::string folder(runtime);
    if (folder.back() != '/') folder += '/';
    return folder + title + ".lock";
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = (tmp != nullptr && tmp[0] != '\0') ? tmp : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder + title + "-" + std::to_string(::getuid()) + ".lock";
}

InstanceLock::InstanceLock(const std::string& title) {
  const std::string path = PathFor(title);
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

InstanceLock::~InstanceLock() { Release(); }

void InstanceLock::Release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace tarnwick
