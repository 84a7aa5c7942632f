// Four solid bands inside the image's edges, mitred at the
// corners, laid over the picture with one opacity.
#include "engine/steps/frame.h"

#include <algorithm>

#include "engine/canvas_bitmap.h"
#include "engine/drawing.h"
#include "engine/steps/step.h"

namespace tarnwick {
namespace {

Rgba Opaque(const std::string& colour) {
  const Rgb c = ParseColour(colour);
  return {c.r, c.g, c.b, 255};
}

// The bands on a transparent canvas of the image's size, opaque: the corner
// squares first, so that the diagonal joins leave no gap, then the four
// quadrilaterals in the order top, right, bottom, left.
std::unique_ptr<Canvas> DrawBands(DrawingLayer& layer, const Settings& s, int w, int h) {
  std::unique_ptr<Canvas> shape = layer.CreateCanvas(w, h, Rgba{0, 0, 0, 0});
  if (shape == nullptr) return nullptr;
  const FrameWidths f = FrameBandWidths(s, w, h);
  const double W = w, H = h, L = f.left, R = f.right, T = f.top, B = f.bottom;
  const Rgba cL = Opaque(s.solidLeftColor), cR = Opaque(s.solidRightColor);
  const Rgba cT = Opaque(s.solidTopColor), cB = Opaque(s.solidBottomColor);
  shape->FillRect(0, 0, L, T, cT);
  shape->FillRect(W - R, 0, R, T, cR);
  shape->FillRect(W - R, H - B, R, B, cB);
  shape->FillRect(0, H - B, L, B, cL);
  const PointF top[] = {{0, 0}, {W, 0}, {W - R, T}, {L, T}};
  const PointF right[] = {{W, 0}, {W, H}, {W - R, H - B}, {W - R, T}};
  const PointF bottom[] = {{W, H}, {0, H}, {L, H - B}, {W - R, H - B}};
  const PointF left[] = {{0, H}, {0, 0}, {L, T}, {L, H - B}};
  shape->FillPolygon(top, cT);
  shape->FillPolygon(right, cR);
  shape->FillPolygon(bottom, cB);
  shape->FillPolygon(left, cL);
  return shape;
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

  std::unique_ptr<Canvas> overlay = DrawBands(*ctx.run.drawing, s, w, h);
  if (overlay != nullptr && opacity < 255) {
    std::unique_ptr<Canvas> faded = ctx.run.drawing->CreateCanvas(w, h, Rgba{0, 0, 0, 0});
    if (faded != nullptr) faded->DrawCanvas(*overlay, 0, 0, opacity, DrawMode::AllChannels);
    overlay = std::move(faded);
  }
  if (overlay == nullptr) return dib;
  FIBITMAP* bands = CanvasToBitmap(*overlay);
  overlay.reset();
  if (bands == nullptr) return dib;
  FIBITMAP* result = FreeImage_Composite(bands, FALSE, nullptr, dib);
  FreeImage_Unload(bands);
  return Replace(dib, result);
}

}  // namespace tarnwick
