// Files and folders, through one place so that tests can reach the faults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarnwick {

inline constexpr int64_t kFileMissing = -1;
inline constexpr int64_t kFileIsFolder = -2;

// Size in bytes, kFileMissing or kFileIsFolder.
int64_t FileSize(const std::string& path);
bool IsFolder(const std::string& path);
// Last-write time as a date of the local clock.
std::optional<int32_t> FileDate(const std::string& path);
// Sets the last-write time, leaving the access time alone.
bool SetFileDate(const std::string& path, int32_t date);
// Creates one folder level; true when it exists afterwards.
bool MakeFolder(const std::string& path);
// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// The folder of the running executable, ending with "/".
std::string ProgramFolder();
// The current working folder, ending with "/".
std::string CurrentFolder();

// Writes a file whole: the bytes go to a temporary file beside `path`,
// which is renamed over it only when every byte is written. A failure
// leaves any earlier file of that name as it was.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, bool sync);

// An output file under construction: a temporary name in the target folder
// that Commit renames into place. Destroying it uncommitted removes it.
class AtomicFile {
 public:
  explicit AtomicFile(std::string target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Buffered; false once any write failed.
  bool Write(const void* data, size_t size);
  // Moves the write position (SEEK_SET, SEEK_CUR or SEEK_END semantics).
  bool Seek(long offset, int origin);
  long Tell() const { return position_; }
  bool Commit(bool sync);

 private:
  bool Flush();
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  bool failed_ = false;
  std::string buffer_;
  long position_ = 0;  // logical position: flushed bytes plus buffer
  long size_ = 0;      // largest position reached
};

// Tests inject write failures (a full disk) through this hook: it is called
// instead of write(2) when set.
using WriteHook = long (*)(int fd, const void* data, size_t size);
void SetWriteHook(WriteHook hook);

}  // namespace tarnwick
