#include "engine/image_io.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/files.h"

namespace tarnwick {
namespace {

// A private view of a whole file: FreeImage decodes straight from the
// mapping, so the file is read once however often the header is parsed.
// The view is copy-on-write: HideExif changes a few bytes of it, never the
// file.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
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

// No JPEG_EXIFROTATE: the orientation is read and applied here (HideExif).
constexpr int kLoadFlags = JPEG_ACCURATE;

uint32_t Read16(const BYTE* p, bool bigEndian) {
  return bigEndian ? (uint32_t{p[0]} << 8) | p[1] : (uint32_t{p[1]} << 8) | p[0];
}

uint32_t Read32(const BYTE* p, bool bigEndian) {
  return bigEndian ? (Read16(p, true) << 16) | Read16(p + 2, true) : (Read16(p + 2, false) << 16) | Read16(p, false);
}

constexpr BYTE kExifSignature[] = {'E', 'x', 'i', 'f', 0, 0};

// The Orientation tag (1 to 8) of the first directory of an Exif payload
// (the TIFF structure after its signature); 0 when there is none or the
// directory does not lie wholly inside the payload. As in FreeImage, an
// entry of an unknown type ends the directory.
int ExifOrientation(const BYTE* tiff, size_t size) {
  if (size < 8) return 0;
  const bool bigEndian = std::memcmp(tiff, "MM\0*", 4) == 0;
  if (!bigEndian && std::memcmp(tiff, "II*\0", 4) != 0) return 0;
  const uint64_t ifd = Read32(tiff + 4, bigEndian);
  if (ifd + 2 > size) return 0;
  const uint64_t count = Read16(tiff + ifd, bigEndian);
  if (ifd + 2 + 12 * count > size) return 0;
  for (uint64_t i = 0; i < count; ++i) {
    const BYTE* entry = tiff + ifd + 2 + 12 * i;
    const uint32_t type = Read16(entry + 2, bigEndian);
    if (type < 1 || type > 12) return 0;
    if (Read16(entry, bigEndian) != 0x0112) continue;
    const uint32_t value = type == 3 ? Read16(entry + 8, bigEndian) : 0;  // a SHORT
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
  }
  return 0;
}

// FreeImage's Exif reader trusts a directory's entry count and a
// thumbnail's offset and size, and reads far outside a malformed segment:
// a few hundred bytes crash it. So the orientation of the first Exif
// segment is read here, with every offset checked, and every Exif segment
// is hidden from FreeImage by changing the first byte of its signature.
// The whole file is searched, not only the headers: the markers after a
// progressive file's first scan reach FreeImage too, and a thumbnail
// inside a segment may carry an Exif segment of its own.
int HideExif(BYTE* data, size_t size) {
  int orientation = 0;
  bool first = true;
  for (BYTE* p = data; (p = static_cast<BYTE*>(std::memchr(p, 0xFF, static_cast<size_t>(data + size - p)))); ++p) {
    const size_t left = static_cast<size_t>(data + size - p);
    if (left < 4 + sizeof kExifSignature) break;
    if (p[1] != 0xE1 || std::memcmp(p + 4, kExifSignature, sizeof kExifSignature) != 0) continue;
    const size_t length = (size_t{p[2]} << 8) | p[3];  // counts itself, not the marker
    if (first && length >= 2 + sizeof kExifSignature && length + 2 <= left)
      orientation = ExifOrientation(p + 4 + sizeof kExifSignature, length - 2 - sizeof kExifSignature);
    first = false;
    p[4] = 'x';
  }
  return orientation;
}

// Turns a decoded bitmap upright by an Exif orientation, as FreeImage's
// JPEG_EXIFROTATE does.
FIBITMAP* Upright(FIBITMAP* dib, int orientation) {
  struct Turn {
    double angle;
    bool flipHorizontal, flipVertical;
  };
  constexpr Turn kTurns[] = {{0, false, false},   {0, false, false},  {0, true, false},
                             {180, false, false}, {0, false, true},   {90, false, true},
                             {-90, false, false}, {-90, false, true}, {90, false, false}};
  if (dib == nullptr || orientation < 1 || orientation > 8) return dib;
  const Turn& turn = kTurns[orientation];
  if (turn.angle != 0) {
    FIBITMAP* turned = FreeImage_Rotate(dib, turn.angle);
    FreeImage_Unload(dib);
    dib = turned;
    if (dib == nullptr) return nullptr;
  }
  if (turn.flipHorizontal) FreeImage_FlipHorizontal(dib);
  if (turn.flipVertical) FreeImage_FlipVertical(dib);
  return dib;
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

// The pixel count a JPEG's frame header claims, found by walking the marker
// segments up to the first start-of-frame; 0 when none is found. Cheaper
// than a header-only decode, and enough to refuse a bomb before FreeImage
// allocates anything.
uint64_t ClaimedPixels(const BYTE* data, size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return 0;
  size_t pos = 2;
  while (pos + 4 <= size) {
    // The decoder skips stray bytes before a marker (and a stuffed 0xFF 0x00)
    // with only a warning, so the walk must too, or a single stray byte
    // would hide the frame header from this check but not from the decoder.
    if (data[pos] != 0xFF) {
      ++pos;
      continue;
    }
    const BYTE marker = data[pos + 1];
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    // Only these markers carry a length. FreeImage lets the decoder go on
    // past any other (a restart, a reserved or an unknown one) as if it
    // were two bytes long, so the walk does the same.
    const bool hasLength = (marker >= 0xC0 && marker <= 0xCF && marker != 0xC8) || (marker >= 0xDA && marker <= 0xDD) ||
                           (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE;
    if (!hasLength) {
      pos += 2;
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
    // The decoder reads past an application or comment segment whose
    // length is below 2 as if it were 2.
    pos += 2 + std::max<size_t>(length, 2);
  }
  return 0;
}

FIBITMAP* LoadJpeg(const std::string& path) {
  const MappedFile file(path);
  if (file.data() == nullptr) return nullptr;
  // JPEG sizes are limited to 65535 per side, which a 32-bit DWORD holds.
  if (file.size() > 0xFFFFFFFFu) return nullptr;
  // A height of 0 in the frame header (defined later by a DNL marker) is
  // left to the decoder, which refuses it.
  if (ClaimedPixels(file.data(), file.size()) > kMaxInputPixels) return nullptr;
  const int orientation = HideExif(file.data(), file.size());
  const MemoryStream stream(file.data(), file.size());
  if (stream.get() == nullptr) return nullptr;
  return Upright(FreeImage_LoadFromMemory(FIF_JPEG, stream.get(), kLoadFlags), orientation);
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
