#include "fuzz/fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace tarnwick::fuzz {
namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

void RemoveFolder() {
  std::error_code ec;
  if (!Folder().empty()) std::filesystem::remove_all(Folder(), ec);
}

std::string MakeFolder() {
  const std::string name = "tarnwick-fuzz." + std::to_string(getpid()) + ".XXXXXX";
  for (const char* base : {"/dev/shm/", "/tmp/"}) {
    if (access(base, W_OK) != 0) continue;
    std::string tmpl = base + name;
    if (mkdtemp(tmpl.data()) != nullptr) return tmpl + "/";
  }
  Fail("no scratch folder can be made in /dev/shm or /tmp");
}

}  // namespace

const std::string& ScratchFolder() {
  if (Folder().empty()) {
    Folder() = MakeFolder();
    std::atexit(RemoveFolder);
  }
  return Folder();
}

bool WriteBytes(const std::string& path, const uint8_t* data, size_t size) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < size) {
    const ssize_t n = write(fd, data + done, size - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return close(fd) == 0 && done == size;
}

std::vector<std::string> SplitAtNul(std::string_view bytes, size_t maxParts) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (parts.size() + 1 < maxParts) {
    const size_t nul = bytes.find('\0', start);
    if (nul == std::string_view::npos) break;
    parts.emplace_back(bytes.substr(start, nul - start));
    start = nul + 1;
  }
  parts.emplace_back(bytes.substr(start));
  return parts;
}

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    size_t extra;
    char32_t cp;
    if (b0 < 0x80) {
      ++i;
      continue;
    } else if ((b0 & 0xE0) == 0xC0) {
      extra = 1;
      cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2;
      cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3;
      cp = b0 & 0x07;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;  // cut short
    for (size_t k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

void Fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "fuzz check failed: %s", what);
  if (!detail.empty()) {
    std::fputs(" [", stderr);
    std::fwrite(detail.data(), 1, detail.size(), stderr);
    std::fputs("]", stderr);
  }
  std::fputs("\n", stderr);
  std::abort();
}

}  // namespace tarnwick::fuzz
