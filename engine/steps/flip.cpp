#include "engine/steps/step.h"

namespace tarnwick {

void Flip(FIBITMAP* dib, const StepContext& ctx) {
  if (dib == nullptr) return;
  if (ctx.settings.doImageFlipHorizontal == 1) FreeImage_FlipHorizontal(dib);
  if (ctx.settings.doImageFlipVertical == 1) FreeImage_FlipVertical(dib);
}

}  // namespace tarnwick
