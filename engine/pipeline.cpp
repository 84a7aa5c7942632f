#include "engine/pipeline.h"

#include "engine/image_io.h"
#include "engine/naming.h"
#include "engine/steps/step.h"
#include "platform/files.h"

namespace tarnwick {
namespace {

// Releases whatever bitmap the pipeline holds when it returns.
struct BitmapHolder {
  FIBITMAP* dib = nullptr;
  ~BitmapHolder() {
    if (dib != nullptr) FreeImage_Unload(dib);
  }
};

}  // namespace

bool ConvertOne(const Settings& s, RunContext& run) {
  BitmapHolder bitmap;
  bitmap.dib = LoadJpeg(run.inputPath);
  FIBITMAP*& dib = bitmap.dib;
  run.sourceDepth = dib ? static_cast<int32_t>(FreeImage_GetBPP(dib)) : 0;
  if (dib == nullptr || FreeImage_GetWidth(dib) == 0 || FreeImage_GetHeight(dib) == 0) return false;

  StepContext ctx{s, run};
  dib = Rotate(dib, ctx);
  if (dib != nullptr) dib = Resize(dib, static_cast<int>(FreeImage_GetWidth(dib)), static_cast<int>(FreeImage_GetHeight(dib)), ctx);
  ctx.width = dib ? static_cast<int>(FreeImage_GetWidth(dib)) : 0;
  ctx.height = dib ? static_cast<int>(FreeImage_GetHeight(dib)) : 0;
  Flip(dib, ctx);
  dib = AdjustColours(dib, ctx);
  dib = Greyscale(dib, ctx);
  dib = Threshold(dib, ctx);
  dib = DrawFrame(dib, ctx);
  dib = DrawWatermark(dib, ctx);
  dib = ConvertToOutputDepth(dib, ctx);
  run.outputWidth = ctx.width;
  run.outputHeight = ctx.height;
  run.outputPath = OutputPath(s, run);

  // A conversion never replaces its own input file.
  if (SameFile(run.outputPath, run.inputPath)) return false;
  return SaveImage(dib, run.outputFormatId, run.outputPath, run.saveFlags);
}

}  // namespace tarnwick
