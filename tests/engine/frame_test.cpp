// DrawFrame drawn by the Qt module, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "engine/drawing.h"
#include "engine/steps/frame.h"
#include "engine/steps/step.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

using test::Pixel;
using test::PixelAt;

constexpr Pixel kLeft{255, 0, 0}, kTop{0, 255, 0}, kRight{0, 0, 255}, kBottom{255, 255, 0};
constexpr Pixel kGround{40, 90, 140};

// A plain 24-bit bitmap of one colour.
FIBITMAP* Plain(int width, int height, Pixel c, int bpp = 24) {
  FIBITMAP* dib = FreeImage_Allocate(width, height, 24);
  RGBQUAD q{static_cast<BYTE>(c.b), static_cast<BYTE>(c.g), static_cast<BYTE>(c.r), 0};
  FreeImage_FillBackground(dib, &q);
  if (bpp == 24) return dib;
  FIBITMAP* other = bpp == 8 ? FreeImage_ConvertTo8Bits(dib) : FreeImage_ConvertTo32Bits(dib);
  FreeImage_Unload(dib);
  return other;
}

bool Near(Pixel a, Pixel b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

std::string Show(Pixel p) {
  char text[48];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", p.r, p.g, p.b);
  return text;
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Defaults(s, true, {}, 0);
    s.doFrame = 1;
    s.solidLeftColor = "FF0000";
    s.solidTopColor = "00FF00";
    s.solidRightColor = "0000FF";
    s.solidBottomColor = "FFFF00";
    run.drawing = AcquireDrawingLayer();
    ASSERT_NE(run.drawing, nullptr) << "libtarnwick_qt.so beside the test";
  }
  void Widths(int l, int t, int r, int b) {
    s.solidLeft = l;
    s.solidTop = t;
    s.solidRight = r;
    s.solidBottom = b;
  }
  // The framed bitmap; its size and depth are checked on the way.
  FIBITMAP* Framed(FIBITMAP* dib) {
    const int w = static_cast<int>(FreeImage_GetWidth(dib)), h = static_cast<int>(FreeImage_GetHeight(dib));
    const StepContext ctx{s, run, w, h};
    FIBITMAP* out = DrawFrame(dib, ctx);
    EXPECT_NE(out, nullptr);
    if (out != nullptr) {
      EXPECT_EQ(FreeImage_GetBPP(out), 24u);
      EXPECT_EQ(static_cast<int>(FreeImage_GetWidth(out)), w);
      EXPECT_EQ(static_cast<int>(FreeImage_GetHeight(out)), h);
    }
    return out;
  }

  Settings s;
  RunContext run;
};

struct Probe {
  int x, y;
  Pixel expected;
};

struct FrameCase {
  const char* name;
  int left, top, right, bottom;
  std::vector<Probe> probes;
};

// 100 by 80 over kGround; exact colours away from the antialiased diagonals.
const FrameCase kCases[] = {
    {"EqualBandsAndDiagonalCorners",
     10,
     10,
     10,
     10,
     {{5, 40, kLeft},
      {50, 5, kTop},
      {95, 40, kRight},
      {50, 75, kBottom},
      {50, 40, kGround},
      // Each corner square split along its diagonal.
      {7, 2, kTop},
      {2, 7, kLeft},
      {92, 2, kTop},
      {97, 7, kRight},
      {97, 72, kRight},
      {92, 77, kBottom},
      {2, 72, kLeft},
      {7, 77, kBottom},
      // The bands end at their width.
      {10, 40, kGround},
      {89, 40, kGround},
      {50, 10, kGround},
      {50, 69, kGround}}},
    {"UnequalWidthsSlantTheMitre",
     30,
     5,
     0,
     0,
     // The join runs from (0, 0) to (30, 5).
     {{12, 0, kTop},
      {12, 4, kLeft},
      {27, 1, kTop},
      {3, 3, kLeft},
      {15, 40, kLeft},
      {29, 79, kLeft},
      {30, 40, kGround},
      {95, 2, kTop},
      {95, 5, kGround}}},
    {"OneBandOnly", 0, 0, 0, 12, {{0, 79, kBottom}, {99, 68, kBottom}, {50, 67, kGround}, {0, 0, kGround}}},
    {"NegativeWidthsDrawNothing", -5, -10, -1, -7, {{0, 0, kGround}, {99, 79, kGround}, {50, 40, kGround}}},
    // Clamped to the side: the left band then covers the whole image.
    {"WidthBeyondTheImageIsTheSide", 1000, 0, 0, 0, {{0, 0, kLeft}, {99, 0, kLeft}, {50, 40, kLeft}, {99, 79, kLeft}}},
};

TEST_F(FrameTest, BandsAndMitres) {
  for (const FrameCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Widths(c.left, c.top, c.right, c.bottom);
    FIBITMAP* out = Framed(Plain(100, 80, kGround));
    ASSERT_NE(out, nullptr);
    for (const Probe& p : c.probes) {
      const Pixel got = PixelAt(out, p.x, p.y);
      EXPECT_TRUE(Near(got, p.expected, 0)) << "(" << p.x << "," << p.y << ") " << Show(got);
    }
    FreeImage_Unload(out);
  }
}

TEST_F(FrameTest, OpacityBlendsWithThePicture) {
  Widths(10, 10, 10, 10);
  for (const int opacity : {255, 128, 0}) {
    SCOPED_TRACE(opacity);
    s.solidOpacity = opacity;
    FIBITMAP* out = Framed(Plain(100, 80, kGround));
    ASSERT_NE(out, nullptr);
    auto mix = [&](int band, int ground) { return (band * opacity + ground * (255 - opacity)) / 255; };
    const Pixel left{mix(255, kGround.r), mix(0, kGround.g), mix(0, kGround.b)};
    EXPECT_TRUE(Near(PixelAt(out, 5, 40), left, 2)) << Show(PixelAt(out, 5, 40));
    EXPECT_TRUE(Near(PixelAt(out, 50, 40), kGround, 0));
    FreeImage_Unload(out);
  }
}

TEST_F(FrameTest, ZeroWidthsOnlyConvertTo24Bits) {
  Widths(0, 0, 0, 0);
  for (const int bpp : {8, 24, 32}) {
    SCOPED_TRACE(bpp);
    FIBITMAP* in = Plain(64, 48, {77, 77, 77}, bpp);
    FIBITMAP* out = Framed(in);
    ASSERT_NE(out, nullptr);
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 47}, {30, 20}})
      EXPECT_TRUE(Near(PixelAt(out, x, y), {77, 77, 77}, 0));
    FreeImage_Unload(out);
  }
}

TEST_F(FrameTest, WideBandsCoverEveryPixel) {
  // Bands wider than the image overlap everywhere: the result no longer
  // depends on the picture beneath.
  Widths(1000, 1000, 1000, 1000);
  FIBITMAP* a = Framed(Plain(100, 80, kGround));
  FIBITMAP* b = Framed(Plain(100, 80, {255, 255, 255}));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  int differing = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 100; ++x) differing += Near(PixelAt(a, x, y), PixelAt(b, x, y), 0) ? 0 : 1;
  EXPECT_EQ(differing, 0);
  FreeImage_Unload(a);
  FreeImage_Unload(b);
}

TEST_F(FrameTest, WithoutDrawingLayerOnlyConverts) {
  Widths(10, 10, 10, 10);
  run.drawing = nullptr;
  FIBITMAP* out = Framed(Plain(100, 80, kGround, 8));
  ASSERT_NE(out, nullptr);
  EXPECT_TRUE(Near(PixelAt(out, 5, 40), PixelAt(out, 50, 40), 0));
  FreeImage_Unload(out);
}

TEST(FrameBandWidthsTest, ClampsToTheSides) {
  Settings s;
  s.solidLeft = -4;
  s.solidRight = 120;
  s.solidTop = 30;
  s.solidBottom = 90;
  const FrameWidths f = FrameBandWidths(s, 100, 80);
  EXPECT_EQ(f.left, 0);
  EXPECT_EQ(f.right, 100);
  EXPECT_EQ(f.top, 30);
  EXPECT_EQ(f.bottom, 80);
}

}  // namespace
}  // namespace tarnwick
