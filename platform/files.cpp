#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <algorithm>

#include "platform/clock.h"

namespace tarnwick {
namespace {

WriteHook gWriteHook = nullptr;

long RawWrite(int fd, const void* data, size_t size) {
  if (gWriteHook != nullptr) return gWriteHook(fd, data, size);
  return ::write(fd, data, size);
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const long n = RawWrite(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

constexpr size_t kBufferSize = 1 << 20;

}  // namespace

void SetWriteHook(WriteHook hook) { gWriteHook = hook; }

int64_t FileSize(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return kFileMissing;
  if (S_ISDIR(st.st_mode)) return kFileIsFolder;
  return static_cast<int64_t>(st.st_size);
}

bool IsFolder(const std::string& path) { return FileSize(path) == kFileIsFolder; }

std::optional<int32_t> FileDate(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return DateFromTime(st.st_mtim.tv_sec);
}

bool SetFileDate(const std::string& path, int32_t date) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = TimeFromDate(date);
  times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool MakeFolder(const std::string& path) {
  if (IsFolder(path)) return true;
  return ::mkdir(path.c_str(), 0777) == 0 || IsFolder(path);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::string ProgramFolder() {
  char buf[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return "./";
  std::string path(buf, static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string CurrentFolder() {
  char buf[PATH_MAX + 1];
  if (::getcwd(buf, sizeof buf) == nullptr) return "./";
  std::string folder(buf);
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
  const size_t slash = target_.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  // A hidden name in the same folder, so the final rename never crosses a
  // file system; the name is kept short enough for NAME_MAX.
  temp_ = folder + "." + name.substr(0, 200) + ".XXXXXX";
  fd_ = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    temp_.clear();
    return;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd_, 0666 & ~mask);
  buffer_.reserve(kBufferSize);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool AtomicFile::Write(const void* data, size_t size) {
  if (fd_ < 0 || failed_) return false;
  const char* bytes = static_cast<const char*>(data);
  if (buffer_.size() + size > kBufferSize) {
    if (!Flush()) return false;
    if (size >= kBufferSize) {
      failed_ = !WriteAll(fd_, bytes, size);
      position_ += static_cast<long>(size);
      size_ = std::max(size_, position_);
      return !failed_;
    }
  }
  buffer_.append(bytes, size);
  position_ += static_cast<long>(size);
  size_ = std::max(size_, position_);
  return true;
}

bool AtomicFile::Seek(long offset, int origin) {
  if (fd_ < 0 || failed_ || !Flush()) return false;
  long target = origin == SEEK_SET ? offset : origin == SEEK_CUR ? position_ + offset : size_ + offset;
  if (target < 0 || ::lseek(fd_, target, SEEK_SET) < 0) return false;
  position_ = target;
  return true;
}

bool AtomicFile::Flush() {
  if (!buffer_.empty() && !WriteAll(fd_, buffer_.data(), buffer_.size())) failed_ = true;
  buffer_.clear();
  return !failed_;
}

bool AtomicFile::Commit(bool sync) {
  if (fd_ < 0 || !Flush()) return false;
  if (sync && ::fsync(fd_) != 0) return false;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return false;
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return false;
  temp_.clear();
  return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, bool sync) {
  AtomicFile file(path);
  return file.IsOpen() && file.Write(bytes.data(), bytes.size()) && file.Commit(sync);
}

}  // namespace tarnwick
