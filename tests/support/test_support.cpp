#include "support/test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace tarnwick::test {
namespace {

// Every test process gets folders of its own for configuration and the
// single-instance lock.
class IsolatedEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char tmpl[] = "/tmp/tarnwick-env-XXXXXX";
    root_ = mkdtemp(tmpl);
    std::filesystem::create_directories(root_ + "/config");
    std::filesystem::create_directories(root_ + "/runtime");
    setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root_ + "/runtime").c_str(), 1);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

 private:
  std::string root_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new IsolatedEnvironment);

std::string ReadFd(int fd) {
  std::string out;
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

}  // namespace

TempDir::TempDir() {
  char tmpl[] = "/tmp/tarnwick-test-XXXXXX";
  path_ = mkdtemp(tmpl);
  path_ += '/';
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests make folders read-only; give the owner its rights back first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

FIBITMAP* MakePattern(int width, int height, int bpp) {
  FIBITMAP* dib = FreeImage_Allocate(width, height, bpp);
  if (bpp == 8) {
    RGBQUAD* pal = FreeImage_GetPalette(dib);
    for (int i = 0; i < 256; ++i) pal[i].rgbRed = pal[i].rgbGreen = pal[i].rgbBlue = static_cast<BYTE>(i);
  }
  const int bytes = bpp / 8;
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const int r = (x * 255) / std::max(1, width - 1);
      const int g = (y * 255) / std::max(1, height - 1);
      const int b = ((x + y) * 4) & 255;
      if (bpp == 8) {
        line[x] = static_cast<BYTE>((r + g) / 2);
      } else {
        line[x * bytes + FI_RGBA_RED] = static_cast<BYTE>(r);
        line[x * bytes + FI_RGBA_GREEN] = static_cast<BYTE>(g);
        line[x * bytes + FI_RGBA_BLUE] = static_cast<BYTE>(b);
        if (bytes == 4) line[x * bytes + FI_RGBA_ALPHA] = 255;
      }
    }
  }
  return dib;
}

std::string MakeJpeg(const std::string& path, int width, int height, int bpp, int quality) {
  FIBITMAP* dib = MakePattern(width, height, bpp);
  FreeImage_Save(FIF_JPEG, dib, path.c_str(), quality);
  FreeImage_Unload(dib);
  return path;
}

std::string WithExifOrientation(const std::string& jpeg, int orientation) {
  // "Exif\0\0", then a little-endian TIFF header with one IFD entry:
  // tag 0x0112 (Orientation), type SHORT, count 1.
  std::string tiff = std::string("II*\0", 4) + std::string("\x08\0\0\0", 4);
  tiff += std::string("\x01\0", 2);
  tiff += std::string("\x12\x01\x03\0\x01\0\0\0", 8);
  tiff += static_cast<char>(orientation);
  tiff += std::string("\0\0\0", 3);
  tiff += std::string("\0\0\0\0", 4);
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const size_t length = payload.size() + 2;
  std::string segment = "\xFF\xE1";
  segment += static_cast<char>(length >> 8);
  segment += static_cast<char>(length & 0xFF);
  segment += payload;
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                     const std::vector<std::string>& extraEnv) {
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(errPipe[0]);
    const int devnull = open("/dev/null", O_RDONLY);
    dup2(devnull, 0);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
    for (const std::string& kv : extraEnv) putenv(const_cast<char*>(kv.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(program.c_str(), argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  RunResult result;
  // Read stderr after stdout; tests keep stderr small.
  result.out = ReadFd(outPipe[0]);
  result.err = ReadFd(errPipe[0]);
  close(outPipe[0]);
  close(errPipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

RunResult RunTarnwick(const std::vector<std::string>& args, const std::string& cwd,
                      const std::vector<std::string>& extraEnv) {
  return RunProgram(TARNWICK_BIN, args, cwd, extraEnv);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

Pixel PixelAt(FIBITMAP* dib, int x, int yFromTop) {
  const int bytes = static_cast<int>(FreeImage_GetBPP(dib)) / 8;
  const BYTE* line = FreeImage_GetScanLine(dib, static_cast<int>(FreeImage_GetHeight(dib)) - 1 - yFromTop);
  const BYTE* p = line + x * bytes;
  return {p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE]};
}

}  // namespace tarnwick::test
