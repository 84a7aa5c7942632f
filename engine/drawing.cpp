#include "engine/drawing.h"

namespace tarnwick {

DrawingLayer* AcquireDrawingLayer() { return nullptr; }

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

}  // namespace tarnwick
