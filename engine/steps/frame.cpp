#include "engine/steps/step.h"

namespace tarnwick {

// Solid frames are drawn by the drawing layer; until a run provides one the
// bitmap passes through unchanged.
FIBITMAP* DrawFrame(FIBITMAP* dib, const StepContext& ctx) {
  if (dib == nullptr || ctx.settings.doFrame != 1) return dib;
  return dib;
}

}  // namespace tarnwick
