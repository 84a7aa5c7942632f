#include "engine/steps/step.h"

namespace tarnwick {

FIBITMAP* Rotate(FIBITMAP* dib, const StepContext& ctx) {
  const Settings& s = ctx.settings;
  if (dib == nullptr || s.doImageRotation == 0) return dib;
  const int angle = s.imageRotation;
  if (angle <= 0 || angle >= 360) return dib;
  const unsigned bpp = FreeImage_GetBPP(dib);
  if (bpp <= 16 || bpp > 32) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
  if (dib == nullptr) return nullptr;
  FIBITMAP* result = nullptr;
  if (s.imageRotationType == 0) {
    const Rgb c = ParseColour(s.imageRotationBackColor);
    RGBQUAD background{};
    background.rgbRed = c.r;
    background.rgbGreen = c.g;
    background.rgbBlue = c.b;
    background.rgbReserved = 0;
    result = FreeImage_Rotate(dib, angle, &background);
  } else if (s.imageRotationType == 1) {
    const double cx = FreeImage_GetWidth(dib) / 2.0;
    const double cy = FreeImage_GetHeight(dib) / 2.0;
    result = FreeImage_RotateEx(dib, angle, 0.0, 0.0, cx, cy, FALSE);
  } else {
    return dib;
  }
  return Replace(dib, result);
}

}  // namespace tarnwick
