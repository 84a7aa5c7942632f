// Shared helpers of the test suite: temporary folders, JPEG fixtures made
// on the fly, and running the built executable.
#pragma once

#include <FreeImage.h>

#include <string>
#include <vector>

namespace tarnwick::test {

// A fresh folder, removed with everything in it at the end of its scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // ends with "/"
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& folder);

// A smooth colour pattern of the given size and depth (8 gives grey).
FIBITMAP* MakePattern(int width, int height, int bpp);
// Writes a JPEG of a pattern; returns the path.
std::string MakeJpeg(const std::string& path, int width, int height, int bpp = 24, int quality = 90);
// Inserts an Exif APP1 segment holding an orientation tag after the SOI.
std::string WithExifOrientation(const std::string& jpegBytes, int orientation);

struct RunResult {
  int exitCode = -1;
  std::string out;  // standard output
  std::string err;
};
// Runs the built tarnwick with the arguments, stdin from /dev/null.
RunResult RunTarnwick(const std::vector<std::string>& args, const std::string& cwd = {},
                      const std::vector<std::string>& extraEnv = {});
// Runs any program (path or name on PATH).
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& cwd = {}, const std::vector<std::string>& extraEnv = {});

std::vector<std::string> Lines(const std::string& text);

// Pixel of a 24- or 32-bit bitmap, counting rows from the top.
struct Pixel {
  int r, g, b;
};
Pixel PixelAt(FIBITMAP* dib, int x, int yFromTop);

}  // namespace tarnwick::test
