// A text block or a picture, turned, cut to fit, placed at one
// of nine anchors and laid over the image.
#include "engine/steps/watermark.h"

#include <algorithm>

#include "engine/canvas_bitmap.h"
#include "engine/steps/frame.h"
#include "engine/steps/step.h"

namespace tarnwick {
namespace {

// Releases a FreeImage bitmap at the end of its scope.
struct OwnedBitmap {
  FIBITMAP* dib = nullptr;
  ~OwnedBitmap() {
    if (dib != nullptr) FreeImage_Unload(dib);
  }
};

}  // namespace

WatermarkArea PlacementArea(const Settings& s, int boundary, int width, int height) {
  if (s.doFrame == 0 || boundary != 1) return {width, height, 0, 0};
  const FrameWidths f = FrameBandWidths(s, width, height);
  return {int64_t{width} - f.left - f.right, int64_t{height} - f.top - f.bottom, f.left, f.top};
}

Placement AnchorPosition(int position, int64_t aw, int64_t ah, int64_t ww, int64_t wh, int64_t dx, int64_t dy) {
  // Integer division truncates toward zero, as the table says.
  const int64_t left = dx, centre = (aw - ww) / 2, right = aw - ww - dx;
  const int64_t top = dy, middle = (ah - wh) / 2, bottom = ah - wh - dy;
  switch (position) {
    case 0:
      return {left, top};
    case 1:
      return {centre, top};
    case 2:
      return {right, top};
    case 3:
      return {left, middle};
    case 4:
      return {centre, middle};
    case 5:
      return {right, middle};
    case 6:
      return {left, bottom};
    case 7:
      return {centre, bottom};
    case 8:
      return {right, bottom};
    default:
      return {0, 0};
  }
}

std::unique_ptr<Canvas> RenderPicture(DrawingLayer& layer, const Settings& s) {
  std::unique_ptr<Canvas> picture = layer.LoadPicture(s.image);
  if (picture == nullptr) return nullptr;
  const Rgba start = picture->HasAlpha() ? Rgba{0, 0, 0, 0} : Rgba{0, 0, 0, 255};
  std::unique_ptr<Canvas> canvas = layer.CreateCanvas(picture->Width(), picture->Height(), start);
  if (canvas == nullptr) return nullptr;
  canvas->DrawCanvas(*picture, 0, 0, s.imageOpacity, s.imageGreyscale == 1 ? DrawMode::Grey : DrawMode::AllChannels);
  return canvas;
}

FIBITMAP* DrawWatermark(FIBITMAP* dib, const StepContext& ctx) {
  const Settings& s = ctx.settings;
  if (dib == nullptr || s.doWatermark == 0) return dib;
  if (FreeImage_GetBPP(dib) != 24) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
  DrawingLayer* layer = ctx.run.drawing;
  if (dib == nullptr || layer == nullptr) return dib;
  const bool text = s.doWatermark == 1;
  if (!text && s.doWatermark != 2) return dib;

  const int width = static_cast<int>(FreeImage_GetWidth(dib)), height = static_cast<int>(FreeImage_GetHeight(dib));
  std::unique_ptr<Canvas> source =
      text ? RenderTextBlock(*layer, s, WatermarkText(s, ctx.run, width, height)) : RenderPicture(*layer, s);
  if (source == nullptr) return dib;
  OwnedBitmap wm{CanvasToBitmap(*source)};
  source.reset();
  if (wm.dib == nullptr) return dib;

  const int angle = text ? s.textRotation : s.wmImageRotation;
  if (angle > 0 && angle < 360) {
    FIBITMAP* turned = FreeImage_Rotate(wm.dib, angle, nullptr);
    FreeImage_Unload(wm.dib);
    wm.dib = turned;
    if (wm.dib == nullptr) return dib;
  }

  const WatermarkArea area = PlacementArea(s, text ? s.textBoundary : s.imageBoundary, width, height);
  const int64_t dx = text ? s.textXOffset : s.imageXOffset;
  const int64_t dy = text ? s.textYOffset : s.imageYOffset;
  const int64_t ww = FreeImage_GetWidth(wm.dib), wh = FreeImage_GetHeight(wm.dib);
  const int64_t roomX = area.width - dx, roomY = area.height - dy;
  if (ww > roomX || wh > roomY) {
    // Offsets that leave no room cut the watermark to nothing: the overlay
    // and the composite fail with it, and so does the file.
    if (roomX <= 0 || roomY <= 0) return Replace(dib, nullptr);
    FIBITMAP* cut =
        FreeImage_Copy(wm.dib, 0, 0, static_cast<int>(std::min(ww, roomX)), static_cast<int>(std::min(wh, roomY)));
    FreeImage_Unload(wm.dib);
    wm.dib = cut;
    if (wm.dib == nullptr) return Replace(dib, nullptr);
  }

  const Placement at = AnchorPosition(text ? s.textPosition : s.imagePosition, area.width, area.height,
                                      FreeImage_GetWidth(wm.dib), FreeImage_GetHeight(wm.dib), dx, dy);
  const int64_t x = at.x + area.left, y = at.y + area.top;
  // A watermark that does not lie wholly inside the image is not laid, and
  // the image stays as it is.
  const bool inside = x >= 0 && y >= 0 && x + int64_t{FreeImage_GetWidth(wm.dib)} <= width &&
                      y + int64_t{FreeImage_GetHeight(wm.dib)} <= height;
  if (inside && !CompositeOver(dib, wm.dib, static_cast<int>(x), static_cast<int>(y))) return Replace(dib, nullptr);
  return dib;
}

}  // namespace tarnwick
