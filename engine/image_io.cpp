#include "engine/image_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

namespace tarnwick {
namespace {

// A read-only view of a whole file: FreeImage decodes straight from the
// mapping, so the file is read once however often the header is parsed.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (p != MAP_FAILED) {
        data_ = static_cast<BYTE*>(p);
        size_ = static_cast<size_t>(st.st_size);
        ::madvise(p, size_, MADV_SEQUENTIAL);
      }
    }
    ::close(fd);
  }
  ~MappedFile() {
    if (data_ != nullptr) ::munmap(data_, size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  BYTE* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  BYTE* data_ = nullptr;
  size_t size_ = 0;
};

class MemoryStream {
 public:
  MemoryStream(BYTE* data, size_t size) : stream_(FreeImage_OpenMemory(data, static_cast<DWORD>(size))) {}
  ~MemoryStream() {
    if (stream_ != nullptr) FreeImage_CloseMemory(stream_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  FIMEMORY* get() const { return stream_; }

 private:
  FIMEMORY* stream_;
};

constexpr int kLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;

// The pixel count a JPEG's frame header claims, found by walking the marker
// segments up to the first start-of-frame; 0 when none is found. Cheaper
// than a header-only decode, and enough to refuse a bomb before FreeImage
// allocates anything.
uint64_t ClaimedPixels(const BYTE* data, size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return 0;
  size_t pos = 2;
  while (pos + 4 <= size) {
    if (data[pos] != 0xFF) return 0;
    const BYTE marker = data[pos + 1];
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    const size_t length = (static_cast<size_t>(data[pos + 2]) << 8) | data[pos + 3];
    const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (startOfFrame) {
      if (pos + 9 > size) return 0;
      const uint64_t height = (static_cast<uint64_t>(data[pos + 5]) << 8) | data[pos + 6];
      const uint64_t width = (static_cast<uint64_t>(data[pos + 7]) << 8) | data[pos + 8];
      return width * height;
    }
    if (length < 2) return 0;
    pos += 2 + length;
  }
  return 0;
}

unsigned DLL_CALLCONV WriteProc(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  auto* file = static_cast<AtomicFile*>(handle);
  return file->Write(buffer, static_cast<size_t>(size) * count) ? count : 0;
}

unsigned DLL_CALLCONV ReadProc(void*, unsigned, unsigned, fi_handle) { return 0; }

int DLL_CALLCONV SeekProc(fi_handle handle, long offset, int origin) {
  return static_cast<AtomicFile*>(handle)->Seek(offset, origin) ? 0 : -1;
}

long DLL_CALLCONV TellProc(fi_handle handle) { return static_cast<AtomicFile*>(handle)->Tell(); }

}  // namespace

FIBITMAP* LoadJpeg(const std::string& path) {
  const MappedFile file(path);
  if (file.data() == nullptr) return nullptr;
  // JPEG sizes are limited to 65535 per side, which a 32-bit DWORD holds.
  if (file.size() > 0xFFFFFFFFu) return nullptr;
  // A height of 0 in the frame header (defined later by a DNL marker) is
  // left to the decoder, which refuses it.
  if (ClaimedPixels(file.data(), file.size()) > kMaxInputPixels) return nullptr;
  const MemoryStream stream(file.data(), file.size());
  if (stream.get() == nullptr) return nullptr;
  return FreeImage_LoadFromMemory(FIF_JPEG, stream.get(), kLoadFlags);
}

bool SaveImage(FIBITMAP* dib, int formatId, const std::string& path, int flags) {
  if (dib == nullptr) return false;
  AtomicFile file(path);
  if (!file.IsOpen()) return false;
  FreeImageIO io{};
  io.read_proc = ReadProc;
  io.write_proc = WriteProc;
  io.seek_proc = SeekProc;
  io.tell_proc = TellProc;
  if (!FreeImage_SaveToHandle(static_cast<FREE_IMAGE_FORMAT>(formatId), dib, &io, &file, flags)) return false;
  return file.Commit(false);
}

}  // namespace tarnwick
