// The parts of the watermark step, exposed for tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/settings.h"
#include "engine/drawing.h"
#include "engine/run_context.h"

namespace tarnwick {

// "Text" with the file-name tokens put in, when it holds at least two
// "%". "%width%" and "%height%" give the image being drawn on (width by
// height, its size after resizing) and "%bpp%" the depth it will be
// written at (ChooseDepth of the source depth when the depth is
// automatic), not the values the previous file left in the run context.
std::string WatermarkText(const Settings& s, const RunContext& run, int width, int height);

// The placement area and the shift of its top-left corner in the image.
struct WatermarkArea {
  int64_t width = 0, height = 0;
  int64_t left = 0, top = 0;
};
// The image, or the inside of the frame when "Do Frame" is not 0 and the
// boundary setting is 1 ("FRAME").
WatermarkArea PlacementArea(const Settings& s, int boundary, int width, int height);

struct Placement {
  int64_t x = 0, y = 0;
};
// The anchor table: position 0 to 8 with the area's size aw by ah, the
// watermark's size ww by wh and the offsets dx, dy; any other position
// gives (0, 0). The area's shift is not included.
Placement AnchorPosition(int position, int64_t aw, int64_t ah, int64_t ww, int64_t wh, int64_t dx, int64_t dy);

// The text block (kind 1) on a canvas of its own size, in the layer's
// loaded font; null when there is no font or the canvas cannot be made.
std::unique_ptr<Canvas> RenderTextBlock(DrawingLayer& layer, const Settings& s, const std::string& text);
// The picture (kind 2) from "Image" with "Image Opacity" and "Image
// Greyscale"; null when the file cannot be loaded.
std::unique_ptr<Canvas> RenderPicture(DrawingLayer& layer, const Settings& s);

}  // namespace tarnwick
