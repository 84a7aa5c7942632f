// DrawWatermark drawn by the Qt module: placement, the text
// block, pictures, failures, and the console's watermark errors.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstdlib>
#include <optional>

#include "engine/canvas_bitmap.h"
#include "engine/drawing.h"
#include "engine/steps/step.h"
#include "engine/steps/watermark.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

using test::Pixel;
using test::PixelAt;
using test::TempDir;

constexpr Pixel kGround{40, 90, 140};
constexpr Pixel kBlack{0, 0, 0};

FIBITMAP* Plain(int width, int height, Pixel c, int bpp = 32) {
  FIBITMAP* dib = FreeImage_Allocate(width, height, bpp);
  RGBQUAD q{static_cast<BYTE>(c.b), static_cast<BYTE>(c.g), static_cast<BYTE>(c.r), 255};
  FreeImage_FillBackground(dib, &q);
  return dib;
}

bool Near(Pixel a, Pixel b, int tolerance = 0) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// A picture file: the left `opaqueColumns` columns in colour, the rest fully
// transparent blue (a 32-bit PNG), or all in colour for the other formats.
std::string WritePicture(const std::string& path, FREE_IMAGE_FORMAT fif, int width, int height, Pixel colour,
                         int opaqueColumns) {
  FIBITMAP* dib = FreeImage_Allocate(width, height, 32);
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, y);
    for (int x = 0; x < width; ++x) {
      const bool opaque = x < opaqueColumns;
      line[4 * x + FI_RGBA_RED] = static_cast<BYTE>(opaque ? colour.r : 0);
      line[4 * x + FI_RGBA_GREEN] = static_cast<BYTE>(opaque ? colour.g : 0);
      line[4 * x + FI_RGBA_BLUE] = static_cast<BYTE>(opaque ? colour.b : 255);
      line[4 * x + FI_RGBA_ALPHA] = static_cast<BYTE>(opaque ? 255 : 0);
    }
  }
  if (fif != FIF_PNG) {
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(dib);
    FreeImage_Unload(dib);
    dib = rgb;
  }
  FreeImage_Save(fif, dib, path.c_str(), fif == FIF_JPEG ? 100 : 0);
  FreeImage_Unload(dib);
  return path;
}

// A PNG whose header claims width by height pixels and that holds no pixels.
std::string PngHeaderOnly(const std::string& path, uint32_t width, uint32_t height) {
  auto be32 = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  const std::string body = "IHDR" + be32(width) + be32(height) + std::string("\x08\x06\x00\x00\x00", 5);
  const uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size()));
  test::WriteFile(path, std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + body + be32(crc));
  return path;
}

// The smallest rectangle holding every pixel that differs from `ground`.
struct Box {
  int left = -1, top = -1, right = -1, bottom = -1;  // inclusive
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

Box Differing(FIBITMAP* dib, Pixel ground, int fromX = 0, int fromY = 0) {
  Box box;
  const int w = static_cast<int>(FreeImage_GetWidth(dib)), h = static_cast<int>(FreeImage_GetHeight(dib));
  for (int y = fromY; y < h; ++y)
    for (int x = fromX; x < w; ++x) {
      if (Near(PixelAt(dib, x, y), ground)) continue;
      if (box.left < 0 || x < box.left) box.left = x;
      if (box.top < 0) box.top = y;
      box.right = std::max(box.right, x);
      box.bottom = y;
    }
  return box;
}

class WatermarkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Defaults(s, true, {}, 0);
    s.doWatermark = 1;
    s.text = "Hello";
    s.font = "Arial";
    s.fontColor = "FFFFFF";
    s.backColor = "0000FF";
    s.backOpacity = 255;
    run.outputExtension = "tga";
    run.autoDepth = true;
    run.sourceDepth = 24;
    run.inputPath = "/photos/holiday.jpg";
    layer = AcquireDrawingLayer();
    ASSERT_NE(layer, nullptr) << "libtarnwick_qt.so beside the test";
    run.drawing = layer;
    LoadFont();
  }
  void LoadFont() { ASSERT_TRUE(layer->LoadFont(WatermarkFont(s))); }
  void UsePicture(const std::string& path) {
    s.doWatermark = 2;
    s.image = path;
  }
  FIBITMAP* Marked(FIBITMAP* dib) {
    const int w = static_cast<int>(FreeImage_GetWidth(dib)), h = static_cast<int>(FreeImage_GetHeight(dib));
    const StepContext ctx{s, run, w, h};
    FIBITMAP* out = DrawWatermark(dib, ctx);
    if (out != nullptr) {
      EXPECT_EQ(FreeImage_GetBPP(out), 24u);
      EXPECT_EQ(static_cast<int>(FreeImage_GetWidth(out)), w);
      EXPECT_EQ(static_cast<int>(FreeImage_GetHeight(out)), h);
    }
    return out;
  }
  // The size of the text block as RenderTextBlock makes it.
  TextSize Block(const std::string& text) {
    std::unique_ptr<Canvas> block = RenderTextBlock(*layer, s, text);
    EXPECT_NE(block, nullptr);
    return block ? TextSize{block->Width(), block->Height()} : TextSize{};
  }

  Settings s;
  RunContext run;
  DrawingLayer* layer = nullptr;
  TempDir dir;
};

TEST(AnchorTest, NinePositionsAndTheRest) {
  struct Row {
    int position;
    int64_t x, y;
  };
  // A 100 by 30 watermark on 640 by 480 with offsets 10.
  const Row rows[] = {{0, 10, 10},  {1, 270, 10},  {2, 530, 10},  {3, 10, 225}, {4, 270, 225}, {5, 530, 225},
                      {6, 10, 440}, {7, 270, 440}, {8, 530, 440}, {9, 0, 0},    {-1, 0, 0}};
  for (const Row& r : rows) {
    const Placement p = AnchorPosition(r.position, 640, 480, 100, 30, 10, 10);
    EXPECT_EQ(p.x, r.x) << r.position;
    EXPECT_EQ(p.y, r.y) << r.position;
  }
  // The halves truncate toward zero.
  EXPECT_EQ(AnchorPosition(4, 5, 5, 10, 10, 0, 0).x, -2);
}

TEST(PlacementAreaTest, FrameBoundary) {
  Settings s;
  s.doFrame = 1;
  s.solidLeft = s.solidRight = s.solidTop = s.solidBottom = 20;
  const WatermarkArea inside = PlacementArea(s, 1, 640, 480);
  EXPECT_EQ(inside.width, 600);
  EXPECT_EQ(inside.height, 440);
  EXPECT_EQ(inside.left, 20);
  EXPECT_EQ(inside.top, 20);
  EXPECT_EQ(PlacementArea(s, 0, 640, 480).width, 640);
  s.doFrame = 0;
  EXPECT_EQ(PlacementArea(s, 1, 640, 480).left, 0);
}

TEST_F(WatermarkTest, TextTokens) {
  struct Row {
    const char* setting;
    const char* expected;
  };
  const Row rows[] = {
      {"100%", "100%"},
      {"%filename% 100%", "holiday 100%"},
      {"%FILENAME[U]%.%Ext%", "HOLIDAY.tga"},
      // The image being drawn on, and the depth it will be written at.
      {"%width%x%height% %bpp%", "640x480 24"},
      {"Keep Case %EOL% here", "Keep Case %EOL% here"},
  };
  run.outputWidth = 1;  // what an earlier file left behind
  run.outputHeight = 2;
  for (const Row& r : rows) {
    s.text = r.setting;
    EXPECT_EQ(WatermarkText(s, run, 640, 480), r.expected);
  }
  // A token that a value brings in is replaced only if the setting held it.
  run.inputPath = "/x/a%ext%b.jpg";
  s.text = "%filename%";
  EXPECT_EQ(WatermarkText(s, run, 1, 1), "a%ext%b");
  run.autoDepth = false;
  run.outputDepth = 16;
  s.text = "%bpp%%";
  EXPECT_EQ(WatermarkText(s, run, 1, 1), "16%");
}

TEST_F(WatermarkTest, BlockCornerSitsWhereTheAnchorSays) {
  struct Row {
    const char* name;
    int frame;     // band width, 0 for none
    int boundary;  // "Text Boundary"
    int antialiasing;
    int rotation;
  };
  const Row rows[] = {{"Image", 0, 0, 0, 0},
                      {"Antialiased", 0, 0, 1, 0},
                      {"InsideFrame", 20, 1, 0, 0},
                      {"FrameIgnored", 20, 0, 0, 0},
                      {"Turned90", 0, 0, 0, 90}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    s.doFrame = r.frame > 0 ? 1 : 0;
    s.solidLeft = s.solidRight = s.solidTop = s.solidBottom = r.frame;
    s.textBoundary = static_cast<int8_t>(r.boundary);
    s.textAntialiasing = static_cast<int8_t>(r.antialiasing);
    s.textRotation = r.rotation;
    const TextSize block = Block(s.text);
    const int ww = r.rotation == 90 ? block.height : block.width;
    const int wh = r.rotation == 90 ? block.width : block.height;
    // The frame is not drawn here: only the area moves.
    FIBITMAP* out = Marked(Plain(640, 480, kBlack));
    ASSERT_NE(out, nullptr);
    const int aw = 640 - 2 * r.frame * r.boundary, ah = 480 - 2 * r.frame * r.boundary;
    const Box box = Differing(out, kBlack);
    EXPECT_EQ(box.left, r.frame * r.boundary + aw - ww - 10);
    EXPECT_EQ(box.top, r.frame * r.boundary + ah - wh - 10);
    EXPECT_EQ(box.width(), ww);
    EXPECT_EQ(box.height(), wh);
    // The box is opaque blue where no glyph is.
    EXPECT_TRUE(Near(PixelAt(out, box.left, box.top), {0, 0, 255}, 1));
    FreeImage_Unload(out);
  }
}

TEST_F(WatermarkTest, EolInAnyCaseMakesLinesWithLeading) {
  s.fontLeading = 7;
  const int lineHeight = std::max(10, layer->MeasureText("Hello").height);
  const TextSize one = Block("Hello");
  EXPECT_EQ(one.height, layer->MeasureText("Hello").height);
  EXPECT_EQ(one.width, layer->MeasureText("Hello").width);
  struct Row {
    const char* text;
    int lines;
  };
  for (const Row& r : {Row{"Hello%eol%World", 1}, Row{"Hello%EOL%World", 1}, Row{"a%Eol%b%eOL%Hello", 2}}) {
    SCOPED_TRACE(r.text);
    const TextSize block = Block(r.text);
    EXPECT_EQ(block.height, lineHeight + r.lines * (lineHeight + 7));
    EXPECT_GE(block.width, 10);
  }

  // Each line's glyphs lie in its own band of rows; the leading between
  // them holds only the box.
  s.fontLeading = 20;
  s.backColor = "000000";
  std::unique_ptr<Canvas> canvas = RenderTextBlock(*layer, s, "Hg%eol%Hg");
  ASSERT_NE(canvas, nullptr);
  FIBITMAP* dib = CanvasToBitmap(*canvas);
  ASSERT_NE(dib, nullptr);
  auto inkInRows = [&](int from, int to) {
    for (int y = from; y < to; ++y)
      for (int x = 0; x < canvas->Width(); ++x)
        if (PixelAt(dib, x, y).r > 0) return true;
    return false;
  };
  const int ls = lineHeight + 20;
  EXPECT_TRUE(inkInRows(0, lineHeight));
  EXPECT_FALSE(inkInRows(lineHeight, ls));
  EXPECT_TRUE(inkInRows(ls, ls + lineHeight));
  FreeImage_Unload(dib);
}

TEST_F(WatermarkTest, AlignmentAndPadding) {
  s.backColor = "000000";
  const std::string text = "I%eol%IIIIIIIIIIII";
  const int p = 4;
  s.textPadding = p;
  const int lw = layer->MeasureText("I").width;
  for (const int alignment : {0, 1, 2, 3}) {
    SCOPED_TRACE(alignment);
    s.textAlignment = static_cast<int8_t>(alignment);
    std::unique_ptr<Canvas> canvas = RenderTextBlock(*layer, s, text);
    ASSERT_NE(canvas, nullptr);
    const int cw = canvas->Width();
    const int expected[] = {p, static_cast<int>(std::lround((cw - lw) / 2.0)), cw - lw - p, 0};
    FIBITMAP* dib = CanvasToBitmap(*canvas);
    // The first line's glyph lies in its advance box at the aligned edge.
    Box first;
    for (int y = 0; y < std::max(10, layer->MeasureText("I").height); ++y)
      for (int x = 0; x < cw; ++x)
        if (PixelAt(dib, x, y + p).r > 0) {
          if (first.left < 0 || x < first.left) first.left = x;
          first.right = std::max(first.right, x);
        }
    EXPECT_GE(first.left, expected[alignment] - 1);
    EXPECT_LE(first.right, expected[alignment] + lw);
    FreeImage_Unload(dib);
  }
  // Padding adds p on every side.
  s.textAlignment = 0;
  const TextSize padded = Block(text);
  s.textPadding = 0;
  const TextSize bare = Block(text);
  EXPECT_EQ(padded.width, bare.width + 2 * p);
  EXPECT_EQ(padded.height, bare.height + 2 * p);
}

TEST_F(WatermarkTest, OpacitiesOfBoxAndText) {
  s.textAntialiasing = 1;
  s.backOpacity = 0;
  s.textOpacity = 0;
  FIBITMAP* out = Marked(Plain(200, 100, kGround));
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Differing(out, kGround).left, -1);  // nothing visible
  FreeImage_Unload(out);
  s.backOpacity = 128;
  out = Marked(Plain(200, 100, kGround));
  ASSERT_NE(out, nullptr);
  const Box box = Differing(out, kGround);
  ASSERT_GE(box.left, 0);
  const Pixel half{kGround.r / 2, kGround.g / 2, (kGround.b + 255) / 2};
  EXPECT_TRUE(Near(PixelAt(out, box.left, box.top), half, 2));
  FreeImage_Unload(out);
}

TEST_F(WatermarkTest, PictureIsCutToTheRoomLeft) {
  UsePicture(WritePicture(dir / "big.png", FIF_PNG, 300, 300, {0, 255, 0}, 300));
  FIBITMAP* out = Marked(Plain(200, 100, kGround));
  ASSERT_NE(out, nullptr);
  const Box box = Differing(out, kGround);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.width(), 190);
  EXPECT_EQ(box.height(), 90);
  EXPECT_TRUE(Near(PixelAt(out, 189, 89), {0, 255, 0}));
  FreeImage_Unload(out);
}

TEST_F(WatermarkTest, PictureFormatsGreyscaleAndTransparency) {
  struct Row {
    const char* file;
    FREE_IMAGE_FORMAT fif;
    int greyscale;
    int opacity;
    Pixel left, right;  // at (2, 2) and (17, 2) of the placed 20 by 20 picture
    int tolerance;
  };
  constexpr Pixel red{255, 0, 0}, grey{76, 76, 76};
  const Row rows[] = {
      {"logo.png", FIF_PNG, 0, 255, red, kGround, 0},
      {"logo.png", FIF_PNG, 1, 255, grey, kGround, 0},
      {"logo.png", FIF_PNG, 0, 128, {(255 * 128 + 40 * 127) / 255, 90 * 127 / 255, 140 * 127 / 255}, kGround, 2},
      // Without alpha the transparent half is opaque blue in the file.
      {"logo.bmp", FIF_BMP, 0, 255, red, {0, 0, 255}, 0},
      {"logo.bmp", FIF_BMP, 1, 255, grey, {28, 28, 28}, 0},
      {"logo.jpg", FIF_JPEG, 0, 255, red, {0, 0, 255}, 12},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.file) + " greyscale " + std::to_string(r.greyscale));
    UsePicture(WritePicture(dir / r.file, r.fif, 20, 20, red, 10));
    s.imageGreyscale = static_cast<int8_t>(r.greyscale);
    s.imageOpacity = r.opacity;
    s.imagePosition = 0;
    s.imageXOffset = s.imageYOffset = 0;
    FIBITMAP* out = Marked(Plain(100, 100, kGround));
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(Near(PixelAt(out, 2, 2), r.left, r.tolerance));
    EXPECT_TRUE(Near(PixelAt(out, 17, 2), r.right, r.tolerance));
    EXPECT_TRUE(Near(PixelAt(out, 30, 30), kGround));
    FreeImage_Unload(out);
  }
}

TEST_F(WatermarkTest, UnreadablePicturesLeaveTheImage) {
  test::WriteFile(dir / "text.png", "not an image at all");
  const std::string good = WritePicture(dir / "good.png", FIF_PNG, 40, 40, {255, 0, 0}, 40);
  test::WriteFile(dir / "truncated.png", test::ReadFile(good).substr(0, 60));
  const std::string paths[] = {dir / "missing.png", dir / "text.png", dir / "truncated.png", dir.path(),
                               PngHeaderOnly(dir / "huge.png", 20000, 20000)};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    UsePicture(path);
    FIBITMAP* out = Marked(Plain(64, 64, kGround, 8));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Differing(out, PixelAt(out, 0, 0)).left, -1);
    FreeImage_Unload(out);
  }
  EXPECT_EQ(layer->LoadPicture(dir / "huge.png"), nullptr);
}

TEST_F(WatermarkTest, OffsetsWithoutRoomFailTheFile) {
  struct Row {
    int kind;
    int dx, dy, frame;
  };
  const std::string logo = WritePicture(dir / "logo.png", FIF_PNG, 20, 20, {255, 0, 0}, 20);
  for (const Row& r : {Row{1, 200, 10, 0}, Row{1, 10, 100, 0}, Row{2, 250, 0, 0}, Row{2, 0, 0, 50}}) {
    SCOPED_TRACE(r.kind * 1000 + r.dx);
    s.doWatermark = static_cast<int8_t>(r.kind);
    s.image = logo;
    s.textXOffset = s.imageXOffset = r.dx;
    s.textYOffset = s.imageYOffset = r.dy;
    s.doFrame = r.frame > 0 ? 1 : 0;
    s.solidLeft = s.solidRight = s.solidTop = s.solidBottom = r.frame;
    s.textBoundary = s.imageBoundary = 1;
    EXPECT_EQ(Marked(Plain(200, 100, kGround)), nullptr);
  }
}

TEST_F(WatermarkTest, FontsByName) {
  struct Row {
    const char* family;
    int size;
    bool loads;
  };
  const Row rows[] = {
      {"Arial", 14, true},   {"arial", 9, true},        {"Liberation Sans", 14, true},   {"Courier New", 14, true},
      {"Verdana", 14, true}, {"DejaVu Sans", 14, true}, {"No Such Font Xyz", 14, false}, {"", 14, false},
      {"Arial", 0, false},   {"Arial", -3, false},      {"Arial", 100000, false},
  };
  for (const Row& r : rows) {
    FontSpec font;
    font.family = r.family;
    font.size = r.size;
    EXPECT_EQ(layer->LoadFont(font), r.loads) << r.family << " " << r.size;
    EXPECT_EQ(layer->HasFont(), r.loads);
  }
  FontSpec arial;
  arial.family = "Arial";
  arial.size = 14;
  ASSERT_TRUE(layer->LoadFont(arial));
  EXPECT_EQ(layer->FontFamily(), "Liberation Sans");
  layer->ReleaseFont();
  EXPECT_FALSE(layer->HasFont());
  // Without a font the text step leaves the image (converted).
  FIBITMAP* out = Marked(Plain(64, 64, kGround));
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(Differing(out, kGround).left, -1);
  FreeImage_Unload(out);
}

// The console run of the built binary, with a display platform asked for
// that cannot work: the module must draw offscreen anyway.
TEST(WatermarkConsoleTest, ErrorLinesAndAnOffscreenRun) {
  TempDir dir;
  const std::string input = test::MakeJpeg(dir / "in.jpg", 64, 48);
  const std::string logo = WritePicture(dir / "logo.png", FIF_PNG, 8, 8, {255, 0, 0}, 8);
  struct Row {
    std::vector<std::string> options;
    const char* line;
    bool written;
  };
  const Row rows[] = {
      {{"--wm-text=Hi", "--wm-font=No Such Font Xyz"}, "Error: Invalid watermark font", false},
      {{"--wm-text=Hi", "--wm-font-size=0"}, "Error: Invalid watermark font", false},
      {{"--wm-image=" + dir / "missing.png"}, "Error: Invalid watermark image", false},
      {{"--wm-text=Hi %width%", "--wm-font=Arial", "--wm-back-opacity=255"}, "Conversion complete", true},
      {{"--wm-image=" + logo, "--wm-image-x-offset=0", "--wm-image-y-offset=0"}, "Conversion complete", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.options.front());
    std::remove((dir / "in.tga").c_str());
    std::vector<std::string> args{"-i", input, "-o", dir.path()};
    args.insert(args.end(), r.options.begin(), r.options.end());
    const test::RunResult result = test::RunTarnwick(args, {}, {"QT_QPA_PLATFORM=xcb", "DISPLAY=:97"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find(std::string(r.line) + "\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(test::Exists(dir / "in.tga"), r.written);
    if (!r.written) continue;
    FIBITMAP* out = FreeImage_Load(FIF_TARGA, (dir / "in.tga").c_str());
    ASSERT_NE(out, nullptr);
    // The watermark shows: many pixels differ from a plain conversion.
    FIBITMAP* plain = FreeImage_Load(FIF_JPEG, input.c_str(), JPEG_ACCURATE);
    int differing = 0;
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) differing += Near(PixelAt(out, x, y), PixelAt(plain, x, y)) ? 0 : 1;
    EXPECT_GT(differing, 20);
    FreeImage_Unload(plain);
    FreeImage_Unload(out);
  }
}

}  // namespace
}  // namespace tarnwick
