#include "engine/drawing.h"

#include <dlfcn.h>

#include <cstring>
#include <mutex>

#include "engine/canvas_bitmap.h"
#include "platform/files.h"

namespace tarnwick {

static_assert(FREEIMAGE_COLORORDER == FREEIMAGE_COLORORDER_BGR,
              "canvas rows are blue, green, red, alpha; so must FreeImage's be");

DrawingLayer* AcquireDrawingLayer() {
  static std::mutex lock;
  static bool tried = false;
  static DrawingLayer* layer = nullptr;
  std::lock_guard<std::mutex> guard(lock);
  if (tried) return layer;
  tried = true;
  // Kept open for the life of the process: Qt cannot be unloaded cleanly.
  void* module = ::dlopen((ProgramFolder() + kDrawingModuleFile).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return nullptr;
  auto entry = reinterpret_cast<DrawingLayerEntry>(::dlsym(module, kDrawingEntryName));
  if (entry != nullptr) layer = entry(kDrawingAbiVersion);
  return layer;
}

bool NeedsDrawing(const Settings& s) { return s.doFrame == 1 || s.doWatermark == 1 || s.doWatermark == 2; }

void PrepareDrawing(const Settings& s, RunContext& run) {
  if (run.drawing == nullptr && NeedsDrawing(s)) run.drawing = AcquireDrawingLayer();
}

FontSpec WatermarkFont(const Settings& s) {
  FontSpec font;
  font.family = s.font;
  font.size = s.fontSize;
  font.bold = s.fontStyle == 1 || s.fontStyle == 3;
  font.italic = s.fontStyle == 2 || s.fontStyle == 3;
  font.underline = s.fontEffect == 1;
  font.strikeOut = s.fontEffect == 2;
  return font;
}

bool LoadWatermarkFont(const Settings& s, RunContext& run) {
  if (run.drawing == nullptr) run.drawing = AcquireDrawingLayer();
  // Without a drawing layer the text cannot be drawn, but the run goes on.
  if (run.drawing == nullptr) return true;
  return run.drawing->LoadFont(WatermarkFont(s));
}

FIBITMAP* CanvasToBitmap(const Canvas& canvas) {
  const int width = canvas.Width(), height = canvas.Height();
  if (width <= 0 || height <= 0) return nullptr;
  FIBITMAP* dib = FreeImage_Allocate(width, height, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  if (dib == nullptr) return nullptr;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y) std::memcpy(FreeImage_GetScanLine(dib, height - 1 - y), canvas.Row(y), rowBytes);
  return dib;
}

}  // namespace tarnwick
