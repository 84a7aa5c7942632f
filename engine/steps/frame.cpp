// Four solid bands inside the image's edges, mitred at the
// corners, laid over the picture with one opacity.
#include "engine/steps/frame.h"

#include <algorithm>
#include <vector>

#include "engine/canvas_bitmap.h"
#include "engine/drawing.h"
#include "engine/steps/step.h"

namespace tarnwick {
namespace {

Rgba Opaque(const std::string& colour) {
  const Rgb c = ParseColour(colour);
  return {c.r, c.g, c.b, 255};
}

struct Strip {
  int x = 0, y = 0, width = 0, height = 0;
};

// The bands within one strip of the image, on a transparent canvas of the
// strip's size, opaque: the corner squares first, so that the diagonal joins
// leave no gap, then the four quadrilaterals in the order top, right, bottom,
// left. The shapes are those of a whole-image canvas, moved by the strip's
// corner and clipped to it.
std::unique_ptr<Canvas> DrawBands(DrawingLayer& layer, const Settings& s, int w, int h, const Strip& strip) {
  std::unique_ptr<Canvas> shape = layer.CreateCanvas(strip.width, strip.height, Rgba{0, 0, 0, 0});
  if (shape == nullptr) return nullptr;
  const FrameWidths f = FrameBandWidths(s, w, h);
  const double W = w, H = h, L = f.left, R = f.right, T = f.top, B = f.bottom;
  const double ox = strip.x, oy = strip.y;
  const Rgba cL = Opaque(s.solidLeftColor), cR = Opaque(s.solidRightColor);
  const Rgba cT = Opaque(s.solidTopColor), cB = Opaque(s.solidBottomColor);
  shape->FillRect(0 - ox, 0 - oy, L, T, cT);
  shape->FillRect(W - R - ox, 0 - oy, R, T, cR);
  shape->FillRect(W - R - ox, H - B - oy, R, B, cB);
  shape->FillRect(0 - ox, H - B - oy, L, B, cL);
  auto moved = [&](std::initializer_list<PointF> points) {
    std::vector<PointF> out;
    for (const PointF& p : points) out.push_back({p.x - ox, p.y - oy});
    return out;
  };
  shape->FillPolygon(moved({{0, 0}, {W, 0}, {W - R, T}, {L, T}}), cT);
  shape->FillPolygon(moved({{W, 0}, {W, H}, {W - R, H - B}, {W - R, T}}), cR);
  shape->FillPolygon(moved({{W, H}, {0, H}, {L, H - B}, {W - R, H - B}}), cB);
  shape->FillPolygon(moved({{0, H}, {0, 0}, {L, T}, {L, H - B}}), cL);
  return shape;
}

// The parts of the image that the bands can touch, each pixel in one part:
// the top and bottom rows, and the left and right columns between them.
// Bands that meet or overlap leave no inside; the whole image is one part.
std::vector<Strip> FrameStrips(const FrameWidths& f, int w, int h) {
  if (f.left + f.right >= w || f.top + f.bottom >= h) return {{0, 0, w, h}};
  std::vector<Strip> strips;
  const int inner = h - f.top - f.bottom;
  for (const Strip& strip : {Strip{0, 0, w, f.top}, Strip{0, h - f.bottom, w, f.bottom}, Strip{0, f.top, f.left, inner},
                             Strip{w - f.right, f.top, f.right, inner}})
    if (strip.width > 0 && strip.height > 0) strips.push_back(strip);
  return strips;
}

}  // namespace

FrameWidths FrameBandWidths(const Settings& s, int width, int height) {
  const int w = std::max(width, 0), h = std::max(height, 0);
  return {std::clamp(s.solidLeft, 0, w), std::clamp(s.solidRight, 0, w), std::clamp(s.solidTop, 0, h),
          std::clamp(s.solidBottom, 0, h)};
}

FIBITMAP* DrawFrame(FIBITMAP* dib, const StepContext& ctx) {
  const Settings& s = ctx.settings;
  if (dib == nullptr || s.doFrame == 0) return dib;
  if (FreeImage_GetBPP(dib) != 24) dib = Replace(dib, FreeImage_ConvertTo24Bits(dib));
  if (dib == nullptr || s.doFrame != 1 || ctx.run.drawing == nullptr) return dib;

  const int w = static_cast<int>(FreeImage_GetWidth(dib)), h = static_cast<int>(FreeImage_GetHeight(dib));
  const FrameWidths f = FrameBandWidths(s, w, h);
  const int opacity = std::clamp(s.solidOpacity, 0, 255);
  // Nothing to see: the overlay would be transparent everywhere.
  if ((f.left == 0 && f.right == 0 && f.top == 0 && f.bottom == 0) || opacity == 0) return dib;

  DrawingLayer& layer = *ctx.run.drawing;
  for (const Strip& strip : FrameStrips(f, w, h)) {
    std::unique_ptr<Canvas> overlay = DrawBands(layer, s, w, h, strip);
    if (overlay != nullptr && opacity < 255) {
      std::unique_ptr<Canvas> faded = layer.CreateCanvas(strip.width, strip.height, Rgba{0, 0, 0, 0});
      if (faded != nullptr) faded->DrawCanvas(*overlay, 0, 0, opacity, DrawMode::AllChannels);
      overlay = std::move(faded);
    }
    if (overlay == nullptr) return Replace(dib, nullptr);
    FIBITMAP* bands = CanvasToBitmap(*overlay);
    overlay.reset();
    const bool ok = bands != nullptr && CompositeOver(dib, bands, strip.x, strip.y);
    if (bands != nullptr) FreeImage_Unload(bands);
    if (!ok) return Replace(dib, nullptr);
  }
  return dib;
}

}  // namespace tarnwick
