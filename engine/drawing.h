// The drawing layer that frames and watermarks need: 32-bit canvases with
// alpha, filled shapes, drawing one canvas onto another, fonts and text,
// and picture files. The engine only sees this interface; the
// implementation lives in the Qt module (qt/drawing_qt.cpp), which
// AcquireDrawingLayer loads when a run first needs it. Neither Qt nor
// FreeImage appears here: the canvas hands its pixels over as plain rows
// (engine/canvas_bitmap.h turns them into a FreeImage bitmap).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/settings.h"
#include "engine/run_context.h"

namespace tarnwick {

// A colour with alpha, each channel 0 to 255, not premultiplied.
struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

struct PointF {
  double x = 0, y = 0;
};

struct TextSize {
  int width = 0;
  int height = 0;
};

struct FontSpec {
  std::string family;
  int size = 0;  // points, at 96 dots per inch
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// How DrawCanvas puts the source pixels onto the target.
enum class DrawMode {
  Blend,        // laid over the target by the source's alpha times the overall alpha
  AllChannels,  // the target pixel becomes the source pixel, its alpha times the overall alpha
  Grey,         // as AllChannels, the colour replaced by (77 R + 150 G + 29 B) >> 8
};

// Canvases and pictures above this many pixels are refused before any
// memory is taken for them. Frame canvases are as large as the image, so
// the limit is the input limit of engine/image_io.h.
inline constexpr int64_t kMaxCanvasPixels = 250'000'000;
// Watermark pictures above this size are refused from their header, before
// any pixel is decoded (8192 by 8192; Qt's own default allocation limit).
inline constexpr int64_t kMaxPicturePixels = 64LL * 1024 * 1024;

// A 32-bit image with alpha. Pixels are stored straight (not premultiplied),
// four bytes each in the order blue, green, red, alpha, top row first.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // False for a picture loaded from a file without an alpha channel; true
  // for every canvas made by CreateCanvas.
  virtual bool HasAlpha() const = 0;
  // The bytes of row y (Width() * 4 of them).
  virtual const uint8_t* Row(int y) const = 0;

  // Every pixel becomes colour, alpha included.
  virtual void Fill(Rgba colour) = 0;
  // Vector fills, laid over the canvas by the colour's alpha; polygon edges
  // are antialiased.
  virtual void FillRect(double x, double y, double width, double height, Rgba colour) = 0;
  virtual void FillPolygon(std::span<const PointF> points, Rgba colour) = 0;
  // Draws source with its top-left corner at (x, y); alpha is the overall
  // alpha, 0 to 255.
  virtual void DrawCanvas(const Canvas& source, int x, int y, int alpha, DrawMode mode) = 0;
};

inline constexpr int kDrawingAbiVersion = 1;

class DrawingLayer {
 public:
  virtual ~DrawingLayer() = default;

  // A canvas filled with colour; null when the size is not positive, above
  // kMaxCanvasPixels, or the memory cannot be had.
  virtual std::unique_ptr<Canvas> CreateCanvas(int width, int height, Rgba fill) = 0;
  // A picture file (PNG, BMP, JPEG and what else the layer reads) as a
  // canvas; null when it cannot be read or is above kMaxPicturePixels.
  virtual std::unique_ptr<Canvas> LoadPicture(const std::string& path) = 0;

  // Loads the watermark font; false when no installed font answers to the
  // family name (see qt/font_match.h for the rule) or the size is below 1.
  virtual bool LoadFont(const FontSpec& font) = 0;
  virtual void ReleaseFont() = 0;
  virtual bool HasFont() const = 0;
  // The family the loaded font resolved to ("Liberation Sans" for "Arial").
  virtual std::string FontFamily() const = 0;

  // Text in the watermark font. MeasureText gives the advance width and
  // the line height of the raster font; VectorTextWidth the exact advance
  // of the antialiased font.
  virtual TextSize MeasureText(const std::string& text) const = 0;
  virtual double VectorTextWidth(const std::string& text) const = 0;
  // Draws text with the top-left corner of its line box at (x, y).
  // Antialiased: the glyphs are smoothed and laid over the canvas by the
  // front colour's alpha; back is not used. Not antialiased: the line box
  // (advance width by line height) becomes back and the glyph pixels become
  // front, all four channels written, nothing smoothed.
  virtual void DrawText(Canvas& canvas, const std::string& text, int x, int y, Rgba front, Rgba back,
                        bool antialiased) const = 0;
};

// The entry function of the Qt module: returns the process's drawing layer,
// or null when abiVersion is not kDrawingAbiVersion or no QGuiApplication
// can be had.
using DrawingLayerEntry = DrawingLayer* (*)(int abiVersion);
inline constexpr const char* kDrawingModuleFile = "libtarnwick_qt.so";
inline constexpr const char* kDrawingEntryName = "TarnwickDrawingLayer";

// The drawing layer of this process: the Qt module beside the executable is
// loaded on the first call and kept until the process ends. Null when it
// cannot be had (then frames and watermarks are skipped). Call it on the
// main thread: the module creates the QGuiApplication there.
DrawingLayer* AcquireDrawingLayer();

// True when the settings make the pipeline draw: a solid frame or a text
// or picture watermark.
bool NeedsDrawing(const Settings& s);
// The conversion start's part: acquires the drawing layer into the run
// context when the settings need it and it is not there yet.
void PrepareDrawing(const Settings& s, RunContext& run);

// The font of the text watermark from the settings, loaded into the run's
// drawing layer.
FontSpec WatermarkFont(const Settings& s);
bool LoadWatermarkFont(const Settings& s, RunContext& run);

}  // namespace tarnwick
