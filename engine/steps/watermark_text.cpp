// The text of the watermark and its block of lines.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/text.h"
#include "engine/naming.h"
#include "engine/steps/step.h"
#include "engine/steps/watermark.h"

namespace tarnwick {
namespace {

constexpr std::string_view kEol = "%eol%";

Rgba WithAlpha(const std::string& colour, int alpha) {
  const Rgb c = ParseColour(colour);
  return {c.r, c.g, c.b, static_cast<uint8_t>(std::clamp(alpha, 0, 255))};
}

std::vector<std::string> SplitAtEol(const std::string& text) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t at; (at = text.find(kEol, from)) != std::string::npos; from = at + kEol.size())
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

size_t CountNoCase(const std::string& text, std::string_view what) {
  const std::string lower = ToLower(text);
  size_t count = 0;
  for (size_t at = 0; (at = lower.find(what, at)) != std::string::npos; at += what.size()) ++count;
  return count;
}

// The left edge of a line of width lw on a canvas of width cw.
int64_t AlignedLeft(int alignment, int64_t cw, int64_t lw, int64_t padding) {
  switch (alignment) {
    case 0:
      return padding;
    case 1:
      return std::llround(static_cast<double>(cw - lw) / 2.0);  // halves away from zero
    case 2:
      return cw - lw - padding;
    default:
      return 0;
  }
}

int ToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

std::string WatermarkText(const Settings& s, const RunContext& run, int width, int height) {
  const std::string& setting = s.text;
  if (std::count(setting.begin(), setting.end(), '%') < 2) return setting;
  RunContext current = run;
  current.outputWidth = width;
  current.outputHeight = height;
  if (run.autoDepth) current.outputDepth = ChooseDepth(run.outputExtension, run.sourceDepth);
  const std::string lower = ToLower(setting);
  std::string text = setting;
  for (const char* token : kMaskTokens)
    if (lower.find(token) != std::string::npos) text = TokenValue(text, token, current);
  return text;
}

std::unique_ptr<Canvas> RenderTextBlock(DrawingLayer& layer, const Settings& s, const std::string& input) {
  if (!layer.HasFont()) return nullptr;
  const size_t lines = CountNoCase(input, kEol);
  std::vector<std::string> parts;
  int64_t tw = 0, bh = 0, ls = 0;
  if (lines > 0) {
    parts = SplitAtEol(ReplaceAllNoCase(input, kEol, kEol));
    int64_t th = 10;
    tw = 10;
    for (const std::string& part : parts) {
      const TextSize size = layer.MeasureText(part);
      tw = std::max<int64_t>(tw, size.width);
      th = std::max<int64_t>(th, size.height);
    }
    ls = th + s.fontLeading;
    bh = th + static_cast<int64_t>(lines) * ls;
  } else {
    parts = {input};
    const TextSize size = layer.MeasureText(input);
    tw = size.width;
    bh = size.height;
  }
  const int64_t p = s.textPadding;
  const int64_t cw = tw + 2 * p, ch = bh + 2 * p;
  if (cw <= 0 || ch <= 0 || cw > INT32_MAX || ch > INT32_MAX) return nullptr;
  const int width = static_cast<int>(cw), height = static_cast<int>(ch);

  const bool antialiased = s.textAntialiasing == 1;
  const Rgba front = WithAlpha(s.fontColor, antialiased ? 255 : s.textOpacity);
  const Rgba back = WithAlpha(s.backColor, antialiased ? 255 : s.backOpacity);
  std::unique_ptr<Canvas> text = layer.CreateCanvas(width, height, antialiased ? Rgba{0, 0, 0, 0} : back);
  if (text == nullptr) return nullptr;
  for (size_t i = 0; i < parts.size(); ++i) {
    int64_t x = p;
    if (lines > 0) {
      const int64_t lw =
          antialiased ? std::llround(layer.VectorTextWidth(parts[i])) : layer.MeasureText(parts[i]).width;
      x = AlignedLeft(s.textAlignment, cw, lw, p);
    }
    const int64_t y = p + static_cast<int64_t>(i) * ls;
    layer.DrawText(*text, parts[i], ToInt(x), ToInt(y), front, back, antialiased);
  }
  if (!antialiased) return text;

  // Antialiased: the opaque box and the opaque text, each laid onto a
  // transparent canvas with its own opacity.
  std::unique_ptr<Canvas> box = layer.CreateCanvas(width, height, back);
  std::unique_ptr<Canvas> result = layer.CreateCanvas(width, height, Rgba{0, 0, 0, 0});
  if (box == nullptr || result == nullptr) return nullptr;
  result->DrawCanvas(*box, 0, 0, s.backOpacity, DrawMode::Blend);
  result->DrawCanvas(*text, 0, 0, s.textOpacity, DrawMode::Blend);
  return result;
}

}  // namespace tarnwick
