// The one crossing between the drawing layer's canvases and FreeImage.
#pragma once

#include <FreeImage.h>

#include "engine/drawing.h"

namespace tarnwick {

// A 32-bit FreeImage bitmap with alpha holding the canvas's pixels exactly:
// the rows are copied as they are (both sides keep straight blue, green,
// red, alpha bytes), bottom row first as FreeImage stores them. Null when
// the bitmap cannot be allocated.
FIBITMAP* CanvasToBitmap(const Canvas& canvas);

}  // namespace tarnwick
