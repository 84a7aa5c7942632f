// The drawing layer that frames and watermarks need: a canvas with alpha,
// fonts and text. The engine only sees this interface; the implementation
// lives in the Qt module, loaded when a run first needs it.
#pragma once

#include <string>

#include "core/settings.h"
#include "engine/run_context.h"

namespace tarnwick {

struct FontSpec {
  std::string family;
  int size = 0;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

class DrawingLayer {
 public:
  virtual ~DrawingLayer() = default;
  // Loads the watermark font; false when no installed font answers to the
  // family name.
  virtual bool LoadFont(const FontSpec& font) = 0;
  virtual void ReleaseFont() = 0;
};

// The drawing layer of this process, loading it on first use; null when it
// cannot be had.
DrawingLayer* AcquireDrawingLayer();

// The font of the text watermark from the settings, loaded into the run's
// drawing layer.
FontSpec WatermarkFont(const Settings& s);
bool LoadWatermarkFont(const Settings& s, RunContext& run);

}  // namespace tarnwick
