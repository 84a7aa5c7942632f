#include "engine/steps/step.h"

namespace tarnwick {

FIBITMAP* AdjustColours(FIBITMAP* dib, const StepContext& ctx) {
  const Settings& s = ctx.settings;
  if (dib == nullptr || s.doImageColorCorrection == 0) return dib;
  const unsigned bpp = FreeImage_GetBPP(dib);
  if (bpp < 8 || bpp > 32) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
  if (dib == nullptr) return nullptr;
  // Depths FreeImage cannot adjust (16 bits) stay as they are.
  FreeImage_AdjustColors(dib, s.imageBrightness, s.imageContrast, static_cast<double>(s.imageGamma),
                         s.imageInvert != 0 ? TRUE : FALSE);
  return dib;
}

}  // namespace tarnwick
