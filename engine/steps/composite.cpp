#include "engine/steps/step.h"

namespace tarnwick {

bool CompositeOver(FIBITMAP* dib, FIBITMAP* overlay, int x, int y) {
  const int w = static_cast<int>(FreeImage_GetWidth(overlay)), h = static_cast<int>(FreeImage_GetHeight(overlay));
  FIBITMAP* region = FreeImage_Copy(dib, x, y, x + w, y + h);
  if (region == nullptr) return false;
  FIBITMAP* blended = FreeImage_Composite(overlay, FALSE, nullptr, region);
  FreeImage_Unload(region);
  if (blended == nullptr) return false;
  // Alpha above 255 makes the paste a plain copy.
  const bool ok = FreeImage_Paste(dib, blended, x, y, 256) == TRUE;
  FreeImage_Unload(blended);
  return ok;
}

}  // namespace tarnwick
