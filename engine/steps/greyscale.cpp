#include "engine/steps/step.h"

namespace tarnwick {

FIBITMAP* Greyscale(FIBITMAP* dib, const StepContext& ctx) {
  if (dib == nullptr || ctx.settings.doImageGreyscale == 0) return dib;
  if (FreeImage_GetBPP(dib) > 32) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
  if (dib == nullptr) return nullptr;
  return Replace(dib, FreeImage_ConvertToGreyscale(dib));
}

FIBITMAP* Threshold(FIBITMAP* dib, const StepContext& ctx) {
  if (dib == nullptr || ctx.settings.doImageThreshold == 0) return dib;
  if (FreeImage_GetBPP(dib) > 32) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
  if (dib == nullptr) return nullptr;
  return Replace(dib, FreeImage_Threshold(dib, static_cast<BYTE>(ctx.settings.imageThreshold)));
}

}  // namespace tarnwick
