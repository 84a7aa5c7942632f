#include <string>

#include "core/formats.h"
#include "core/text.h"
#include "engine/steps/step.h"

namespace tarnwick {

int ChooseDepth(const std::string& extension, int sourceDepth) {
  int last = 0;
  for (const std::string& entry : Split(OutputDepths(extension), ',')) {
    if (entry.empty()) continue;
    last = ParseNumber(entry);
    if (last >= sourceDepth) return last;
  }
  return last;
}

FIBITMAP* ConvertToOutputDepth(FIBITMAP* dib, const StepContext& ctx) {
  if (dib == nullptr) return nullptr;
  RunContext& run = ctx.run;
  if (run.autoDepth) run.outputDepth = ChooseDepth(run.outputExtension, run.sourceDepth);
  const int depth = run.outputDepth;
  if (static_cast<int>(FreeImage_GetBPP(dib)) == depth) return dib;
  const std::string& ext = run.outputExtension;
  switch (depth) {
    case 1: return Replace(dib, FreeImage_Dither(dib, FID_FS));
    case 4: return Replace(dib, FreeImage_ConvertTo4Bits(dib));
    case 8:
      if (ext == "j2k" || ext == "jp2" || ext == "jpg" || ext == "jxr") return Replace(dib, FreeImage_ConvertTo8Bits(dib));
      if (FreeImage_GetBPP(dib) != 24) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
      if (dib == nullptr) return nullptr;
      return Replace(dib, FreeImage_ColorQuantizeEx(dib, FIQ_WUQUANT, 256, 0, nullptr));
    case 16:
      if (FreeImage_GetBPP(dib) > 32) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
      if (dib == nullptr) return nullptr;
      if (ext == "ico" || ext == "tga") return Replace(dib, FreeImage_ConvertTo16Bits555(dib));
      return Replace(dib, FreeImage_ConvertTo16Bits565(dib));
    case 24: return Replace(dib, FreeImage_ConvertTo24Bits(dib));
    case 32: return Replace(dib, FreeImage_ConvertTo32Bits(dib));
    case 48: return Replace(dib, FreeImage_ConvertToRGB16(dib));
    case 96: return Replace(dib, FreeImage_ConvertToRGBF(dib));
    default: return Replace(dib, nullptr);
  }
}

}  // namespace tarnwick
