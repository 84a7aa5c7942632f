#include "engine/steps/step.h"

namespace tarnwick {

// Watermarks are drawn by the drawing layer; until a run provides one the
// bitmap passes through unchanged.
FIBITMAP* DrawWatermark(FIBITMAP* dib, const StepContext& ctx) {
  if (dib == nullptr || ctx.settings.doWatermark == 0) return dib;
  return dib;
}

}  // namespace tarnwick
