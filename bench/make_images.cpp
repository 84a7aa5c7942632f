// Makes the benchmark's photo-like test images: smooth colour fields with
// fine texture and grain, which JPEG cannot compress away.
#include <FreeImage.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

static bool Make(const char* path, int width, int height) {
  FIBITMAP* dib = FreeImage_Allocate(width, height, 24);
  if (dib == nullptr) return false;
  uint32_t seed = 12345;
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, y);
    const double fy = static_cast<double>(y) / height;
    for (int x = 0; x < width; ++x) {
      const double fx = static_cast<double>(x) / width;
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>((seed >> 24) % 25) - 12;
      const double texture = 18 * std::sin(x * 0.9 + std::sin(y * 0.05) * 4) * std::cos(y * 0.7);
      const double r = 120 + 90 * std::sin(fx * 5.1 + fy * 2.3) + texture;
      const double g = 110 + 80 * std::cos(fx * 3.7 - fy * 4.1) + texture;
      const double b = 100 + 70 * std::sin(fx * 7.3 + fy * 6.1 + 1) - texture;
      auto clamp = [](double v) { return static_cast<BYTE>(v < 0 ? 0 : v > 255 ? 255 : v); };
      line[x * 3 + FI_RGBA_RED] = clamp(r + grain);
      line[x * 3 + FI_RGBA_GREEN] = clamp(g + grain);
      line[x * 3 + FI_RGBA_BLUE] = clamp(b + grain);
    }
  }
  const bool ok = FreeImage_Save(FIF_JPEG, dib, path, 90);
  FreeImage_Unload(dib);
  return ok;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_images out.jpg width height\n");
    return 2;
  }
  return Make(argv[1], std::atoi(argv[2]), std::atoi(argv[3])) ? 0 : 1;
}
