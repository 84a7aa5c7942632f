// The floor to compare against: FreeImage's own load and save of a JPEG as
// an uncompressed Targa file, with nothing else around it.
#include <FreeImage.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bare_convert in.jpg out.tga\n");
    return 2;
  }
  FIBITMAP* dib = FreeImage_Load(FIF_JPEG, argv[1], JPEG_ACCURATE | JPEG_EXIFROTATE);
  if (dib == nullptr) return 1;
  const bool ok = FreeImage_Save(FIF_TARGA, dib, argv[2], 0);
  FreeImage_Unload(dib);
  return ok ? 0 : 1;
}
