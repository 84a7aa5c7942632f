// The shared shape of the pipeline's image steps. A step receives the
// current bitmap and returns the one to continue with; when it makes a new
// bitmap it releases the one it received. A null bitmap passes unchanged.
#pragma once

#include <FreeImage.h>

#include "core/settings.h"
#include "engine/run_context.h"

namespace tarnwick {

struct StepContext {
  const Settings& settings;
  RunContext& run;
  int width = 0;   // the image size after rotation and resizing (W, H)
  int height = 0;
};

// Replaces dib by converted (releasing dib) and returns converted.
inline FIBITMAP* Replace(FIBITMAP* dib, FIBITMAP* converted) {
  if (converted != dib && dib != nullptr) FreeImage_Unload(dib);
  return converted;
}

FIBITMAP* Rotate(FIBITMAP* dib, const StepContext& ctx);
FIBITMAP* Resize(FIBITMAP* dib, int width, int height, const StepContext& ctx);
void Flip(FIBITMAP* dib, const StepContext& ctx);
FIBITMAP* AdjustColours(FIBITMAP* dib, const StepContext& ctx);
FIBITMAP* Greyscale(FIBITMAP* dib, const StepContext& ctx);
FIBITMAP* Threshold(FIBITMAP* dib, const StepContext& ctx);
FIBITMAP* DrawFrame(FIBITMAP* dib, const StepContext& ctx);
FIBITMAP* DrawWatermark(FIBITMAP* dib, const StepContext& ctx);
FIBITMAP* ConvertToOutputDepth(FIBITMAP* dib, const StepContext& ctx);

// Lays a 32-bit overlay over the part of a 24-bit dib whose top-left corner
// is (x, y), counted from the top, with FreeImage_Composite. Only that part
// is blended: where an overlay would be transparent the image stays exactly
// as it is anyway, so a frame or watermark costs what it covers, not what the
// whole image holds. False when the part is not inside dib or memory fails.
bool CompositeOver(FIBITMAP* dib, FIBITMAP* overlay, int x, int y);

// The automatic depth: the first listed depth of the format that holds the
// source depth, else the largest.
int ChooseDepth(const std::string& extension, int sourceDepth);

// The FreeImage filter of an "Image Resize Algorithm" code.
FREE_IMAGE_FILTER ResizeFilter(int code);

}  // namespace tarnwick
