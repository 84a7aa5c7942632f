#include <cmath>

#include "engine/steps/step.h"

namespace tarnwick {
namespace {

int Target(int value, int unit, int size) {
  if (unit == 0) return value;
  if (unit == 1) return static_cast<int>(std::nearbyint(value / 100.0 * size));  // halves to even
  return 0;
}

}  // namespace

FREE_IMAGE_FILTER ResizeFilter(int code) {
  switch (code) {
    case 0: return FILTER_BOX;
    case 1: return FILTER_BILINEAR;
    case 2: return FILTER_BSPLINE;
    case 4: return FILTER_CATMULLROM;
    case 5: return FILTER_LANCZOS3;
    default: return FILTER_BICUBIC;
  }
}

FIBITMAP* Resize(FIBITMAP* dib, int width, int height, const StepContext& ctx) {
  const Settings& s = ctx.settings;
  if (dib == nullptr || s.doImageResize == 0) return dib;
  const int targetW = Target(s.imageWidth, s.imageWidthUnit, width);
  const int targetH = Target(s.imageHeight, s.imageHeightUnit, height);
  if (targetW <= 0 || targetH <= 0) return dib;
  if (targetW == width && targetH == height) return dib;
  if (s.imageResizeType == 1 && width < targetW && height < targetH) return dib;
  int newW = targetW, newH = targetH;
  if (s.keepAspectRatio == 1 && height > 0 && width > 0) {
    // The longer side decides; the ratio is a single-precision number.
    if (width >= height) {
      const float ratio = static_cast<float>(width) / static_cast<float>(height);
      newH = static_cast<int>(std::lround(static_cast<float>(targetW / ratio)));
    } else {
      const float ratio = static_cast<float>(height) / static_cast<float>(width);
      newW = static_cast<int>(std::lround(static_cast<float>(targetH / ratio)));
    }
  }
  // A sliver of an image keeps at least one pixel on its short side.
  if (newW < 1) newW = 1;
  if (newH < 1) newH = 1;
  return Replace(dib, FreeImage_Rescale(dib, newW, newH, ResizeFilter(s.imageResizeAlgorithm)));
}

}  // namespace tarnwick
