#include "engine/steps/step.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/formats.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

class StepsTest : public ::testing::Test {
 protected:
  void SetUp() override { Defaults(s, true, {}, 0); }
  StepContext Ctx() { return StepContext{s, run}; }
  struct Size {
    unsigned w, h, bpp;
  };
  static Size SizeOf(FIBITMAP* dib) { return {FreeImage_GetWidth(dib), FreeImage_GetHeight(dib), FreeImage_GetBPP(dib)}; }

  Settings s;
  RunContext run;
};

TEST_F(StepsTest, SimpleRotationEnlargesAndFillsCorners) {
  s.doImageRotation = 1;
  s.imageRotation = 90;
  FIBITMAP* dib = Rotate(test::MakePattern(640, 480, 24), Ctx());
  EXPECT_EQ(SizeOf(dib).w, 480u);
  EXPECT_EQ(SizeOf(dib).h, 640u);
  FreeImage_Unload(dib);

  s.imageRotation = 45;
  s.imageRotationBackColor = "FF8000";
  dib = Rotate(test::MakePattern(100, 100, 24), Ctx());
  EXPECT_GT(SizeOf(dib).w, 140u);
  const test::Pixel corner = test::PixelAt(dib, 0, 0);
  EXPECT_EQ(corner.r, 255);
  EXPECT_EQ(corner.g, 128);
  EXPECT_EQ(corner.b, 0);
  FreeImage_Unload(dib);
}

TEST_F(StepsTest, RotationEdges) {
  s.doImageRotation = 1;
  for (int angle : {0, 360, -90, 400}) {
    s.imageRotation = angle;
    FIBITMAP* in = test::MakePattern(64, 32, 24);
    FIBITMAP* out = Rotate(in, Ctx());
    EXPECT_EQ(out, in) << angle;
    FreeImage_Unload(out);
  }
  // Grey images turn as 24-bit ones; the advanced type keeps the size.
  s.imageRotation = 45;
  FIBITMAP* grey = Rotate(test::MakePattern(64, 32, 8), Ctx());
  EXPECT_EQ(SizeOf(grey).bpp, 24u);
  FreeImage_Unload(grey);
  s.imageRotationType = 1;
  for (int angle : {1, 45, 90, 359}) {
    s.imageRotation = angle;
    FIBITMAP* out = Rotate(test::MakePattern(640, 480, 24), Ctx());
    EXPECT_EQ(SizeOf(out).w, 640u);
    EXPECT_EQ(SizeOf(out).h, 480u);
    FreeImage_Unload(out);
  }
  EXPECT_EQ(Rotate(nullptr, Ctx()), nullptr);
}

TEST_F(StepsTest, ResizeSizes) {
  const struct {
    int srcW, srcH, w, wUnit, h, hUnit, keep, type, outW, outH;
  } cases[] = {
      {640, 480, 50, 1, 50, 1, 0, 0, 320, 240},
      {4000, 3000, 800, 0, 800, 0, 1, 0, 800, 600},
      {3000, 4000, 800, 0, 800, 0, 1, 0, 600, 800},
      {1001, 1000, 100, 0, 7, 0, 1, 0, 100, 100},
      {300, 200, 800, 0, 600, 0, 0, 1, 300, 200},  // large images only: left alone
      {300, 700, 800, 0, 600, 0, 0, 1, 800, 600},  // larger in one direction: resized
      {640, 480, 100, 0, 300, 0, 0, 0, 100, 300},
      {640, 480, 640, 0, 480, 0, 0, 0, 640, 480},
      {640, 480, 0, 0, 480, 0, 0, 0, 640, 480},    // a nonpositive target skips
      {640, 480, -5, 0, 480, 0, 0, 0, 640, 480},
      {640, 480, 100, 7, 480, 0, 0, 0, 640, 480},  // unknown unit: target 0
      {25, 25, 50, 1, 50, 1, 0, 0, 12, 12},        // 12.5 rounds to even
      {1000, 2, 10, 0, 10, 0, 1, 0, 10, 1},        // the short side keeps a pixel
  };
  for (const auto& c : cases) {
    s.doImageResize = 1;
    s.imageWidth = c.w;
    s.imageWidthUnit = static_cast<int8_t>(c.wUnit);
    s.imageHeight = c.h;
    s.imageHeightUnit = static_cast<int8_t>(c.hUnit);
    s.keepAspectRatio = static_cast<int8_t>(c.keep);
    s.imageResizeType = static_cast<int8_t>(c.type);
    FIBITMAP* out = Resize(test::MakePattern(c.srcW, c.srcH, 24), c.srcW, c.srcH, Ctx());
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(SizeOf(out).w, static_cast<unsigned>(c.outW)) << c.srcW << "x" << c.srcH << " -> " << c.w;
    EXPECT_EQ(SizeOf(out).h, static_cast<unsigned>(c.outH)) << c.srcW << "x" << c.srcH << " -> " << c.w;
    FreeImage_Unload(out);
  }
}

TEST_F(StepsTest, ResizeFilters) {
  const std::pair<int, FREE_IMAGE_FILTER> filters[] = {
      {0, FILTER_BOX},        {1, FILTER_BILINEAR}, {2, FILTER_BSPLINE}, {3, FILTER_BICUBIC},
      {4, FILTER_CATMULLROM}, {5, FILTER_LANCZOS3}, {6, FILTER_BICUBIC}, {-1, FILTER_BICUBIC},
  };
  for (const auto& [code, filter] : filters) EXPECT_EQ(ResizeFilter(code), filter) << code;
}

TEST_F(StepsTest, FlipsMovePixels) {
  FIBITMAP* dib = test::MakePattern(8, 4, 24);
  const test::Pixel topLeft = test::PixelAt(dib, 0, 0);
  const test::Pixel bottomRight = test::PixelAt(dib, 7, 3);
  s.doImageFlipHorizontal = 1;
  Flip(dib, Ctx());
  EXPECT_EQ(test::PixelAt(dib, 7, 0).r, topLeft.r);
  EXPECT_EQ(test::PixelAt(dib, 7, 0).g, topLeft.g);
  s.doImageFlipVertical = 1;
  s.doImageFlipHorizontal = 0;
  Flip(dib, Ctx());
  EXPECT_EQ(test::PixelAt(dib, 7, 3).r, topLeft.r);
  EXPECT_EQ(test::PixelAt(dib, 7, 3).g, topLeft.g);
  s.doImageFlipHorizontal = 1;
  Flip(dib, Ctx());  // both: a half turn back to the start
  EXPECT_EQ(test::PixelAt(dib, 7, 3).r, bottomRight.r);
  EXPECT_EQ(test::PixelAt(dib, 7, 3).g, bottomRight.g);
  FreeImage_Unload(dib);
  Flip(nullptr, Ctx());
}

TEST_F(StepsTest, ColourSteps) {
  FIBITMAP* dib = test::MakePattern(16, 16, 24);
  const test::Pixel before = test::PixelAt(dib, 5, 5);
  EXPECT_EQ(AdjustColours(dib, Ctx()), dib);  // off: untouched
  s.doImageColorCorrection = 1;
  s.imageInvert = 1;
  dib = AdjustColours(dib, Ctx());
  EXPECT_EQ(test::PixelAt(dib, 5, 5).r, 255 - before.r);
  EXPECT_EQ(test::PixelAt(dib, 5, 5).b, 255 - before.b);

  s.doImageGreyscale = 1;
  dib = Greyscale(dib, Ctx());
  EXPECT_EQ(FreeImage_GetBPP(dib), 8u);
  EXPECT_EQ(FreeImage_GetColorType(dib), FIC_MINISBLACK);

  s.doImageThreshold = 1;
  s.imageThreshold = 128;
  dib = Threshold(dib, Ctx());
  EXPECT_EQ(FreeImage_GetBPP(dib), 1u);
  FreeImage_Unload(dib);
}

TEST_F(StepsTest, ChooseDepth) {
  const std::pair<int, int> tga[] = {{1, 8}, {8, 8}, {9, 16}, {16, 16}, {17, 24}, {24, 24}, {32, 32}, {48, 32}};
  for (const auto& [source, depth] : tga) EXPECT_EQ(ChooseDepth("tga", source), depth) << source;
  EXPECT_EQ(ChooseDepth("pbm", 24), 1);
  EXPECT_EQ(ChooseDepth("jpg", 8), 8);
  EXPECT_EQ(ChooseDepth("png", 24), 24);
}

TEST_F(StepsTest, OutputDepthConversions) {
  run.outputExtension = "tga";
  const struct {
    int depth;
    unsigned bpp;
    FREE_IMAGE_COLOR_TYPE type;
  } cases[] = {{1, 1, FIC_MINISBLACK}, {4, 4, FIC_PALETTE}, {8, 8, FIC_PALETTE}, {16, 16, FIC_RGB},
               {24, 24, FIC_RGB},      {32, 32, FIC_RGBALPHA}};
  for (const auto& c : cases) {
    run.outputDepth = c.depth;
    FIBITMAP* out = ConvertToOutputDepth(test::MakePattern(32, 32, 24), Ctx());
    ASSERT_NE(out, nullptr) << c.depth;
    EXPECT_EQ(FreeImage_GetBPP(out), c.bpp) << c.depth;
    FreeImage_Unload(out);
  }
  // 16 bits are 5-5-5 for Targa and 5-6-5 elsewhere.
  run.outputDepth = 16;
  FIBITMAP* tga16 = ConvertToOutputDepth(test::MakePattern(8, 8, 24), Ctx());
  EXPECT_EQ(FreeImage_GetGreenMask(tga16), FI16_555_GREEN_MASK);
  FreeImage_Unload(tga16);
  run.outputExtension = "bmp";
  FIBITMAP* bmp16 = ConvertToOutputDepth(test::MakePattern(8, 8, 24), Ctx());
  EXPECT_EQ(FreeImage_GetGreenMask(bmp16), FI16_565_GREEN_MASK);
  FreeImage_Unload(bmp16);
  // JPEG's 8 bits are greyscale, Targa's a quantised palette.
  run.outputExtension = "jpg";
  run.outputDepth = 8;
  FIBITMAP* jpg8 = ConvertToOutputDepth(test::MakePattern(8, 8, 24), Ctx());
  EXPECT_EQ(FreeImage_GetColorType(jpg8), FIC_MINISBLACK);
  FreeImage_Unload(jpg8);
  // Depths outside the table fail the file.
  run.outputDepth = 7;
  EXPECT_EQ(ConvertToOutputDepth(test::MakePattern(8, 8, 24), Ctx()), nullptr);
  // The automatic depth follows the source as loaded, not the steps.
  run.outputExtension = "tga";
  run.autoDepth = true;
  run.sourceDepth = 24;
  FIBITMAP* colour = test::MakePattern(8, 8, 24);
  FIBITMAP* fromOneBit = ConvertToOutputDepth(FreeImage_Threshold(colour, 100), Ctx());
  FreeImage_Unload(colour);
  EXPECT_EQ(run.outputDepth, 24);
  EXPECT_EQ(FreeImage_GetBPP(fromOneBit), 24u);
  FreeImage_Unload(fromOneBit);
}

}  // namespace
}  // namespace tarnwick
