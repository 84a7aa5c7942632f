// The Qt module is loaded only by runs that draw: the executable links no
// Qt, and a conversion without frame or watermark maps no Qt library.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/drawing.h"
#include "engine/pipeline.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

using test::TempDir;

bool MapsHold(const std::string& text) { return test::ReadFile("/proc/self/maps").find(text) != std::string::npos; }

// What the dynamic loader reported (LD_DEBUG=libs) for one run of the binary.
std::string LoaderLog(const std::vector<std::string>& options, const TempDir& dir, const std::string& input) {
  const std::string log = dir / ("ld" + std::to_string(options.size()));
  std::vector<std::string> args{"-q", "-i", input, "-o", dir.path()};
  args.insert(args.end(), options.begin(), options.end());
  const test::RunResult result = test::RunTarnwick(args, {}, {"LD_DEBUG=libs", "LD_DEBUG_OUTPUT=" + log});
  EXPECT_EQ(result.out, "");
  std::string text;
  for (const std::string& name : test::ListFolder(dir.path()))
    if (name.starts_with("ld" + std::to_string(options.size()) + ".")) text += test::ReadFile(dir / name);
  EXPECT_FALSE(text.empty());
  return text;
}

TEST(DrawingLoadTest, QtOnlyWhenARunDraws) {
  TempDir dir;
  const std::string input = test::MakeJpeg(dir / "in.jpg", 40, 30);

  // The executable and the base library need no Qt.
  const test::RunResult ldd = test::RunProgram("ldd", {TARNWICK_BIN});
  EXPECT_NE(ldd.out.find("libtarnwick_base.so"), std::string::npos) << ldd.out;
  EXPECT_EQ(ldd.out.find("libQt6"), std::string::npos) << ldd.out;

  // In this process: a plain conversion loads nothing of Qt.
  Settings s;
  Defaults(s, true, {}, 0);
  RunContext run;
  run.inputPath = input;
  run.outputFolder = dir.path();
  run.outputExtension = "tga";
  run.outputFormatId = FIF_TARGA;
  run.autoDepth = true;
  PrepareDrawing(s, run);
  EXPECT_EQ(run.drawing, nullptr);
  ASSERT_TRUE(ConvertOne(s, run));
  EXPECT_FALSE(MapsHold("libQt6"));
  EXPECT_FALSE(MapsHold("libtarnwick_qt"));

  // A frame brings the module and Qt in, and is drawn.
  s.doFrame = 1;
  s.solidLeft = 5;
  s.solidLeftColor = "FF0000";
  PrepareDrawing(s, run);
  ASSERT_NE(run.drawing, nullptr);
  EXPECT_TRUE(MapsHold("libtarnwick_qt.so"));
  EXPECT_TRUE(MapsHold("libQt6Gui"));
  ASSERT_TRUE(ConvertOne(s, run));
  FIBITMAP* out = FreeImage_Load(FIF_TARGA, run.outputPath.c_str());
  ASSERT_NE(out, nullptr);
  const test::Pixel p = test::PixelAt(out, 2, 15);
  EXPECT_EQ(p.r, 255);
  EXPECT_EQ(p.g, 0);
  EXPECT_EQ(p.b, 0);
  FreeImage_Unload(out);

  // The built binary: the same, as the dynamic loader tells it.
  EXPECT_EQ(LoaderLog({}, dir, input).find("libQt6"), std::string::npos);
  EXPECT_NE(LoaderLog({"--fr-solid-left=5"}, dir, input).find("libQt6Gui"), std::string::npos);
}

TEST(DrawingLoadTest, WithoutTheModuleTheStepsOnlyConvert) {
  // The executable and its base library alone, without libtarnwick_qt.so.
  TempDir dir;
  const std::string bin = std::string(TARNWICK_BIN);
  const std::string binFolder = bin.substr(0, bin.rfind('/') + 1);
  for (const char* name : {"tarnwick", "libtarnwick_base.so"}) {
    test::WriteFile(dir / name, test::ReadFile(binFolder + name));
    std::filesystem::permissions(dir / name, std::filesystem::perms::owner_all);
  }
  const std::string input = test::MakeJpeg(dir / "in.jpg", 40, 30);
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--fr-solid-left=5"}, {"--wm-text=Hi", "--wm-back-opacity=255"}}) {
    SCOPED_TRACE(options.front());
    std::vector<std::string> args{"-q", "-i", input, "-o", dir.path()};
    args.insert(args.end(), options.begin(), options.end());
    const test::RunResult result = test::RunProgram(dir / "tarnwick", args);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    FIBITMAP* out = FreeImage_Load(FIF_TARGA, (dir / "in.tga").c_str());
    FIBITMAP* plain = FreeImage_Load(FIF_JPEG, input.c_str(), JPEG_ACCURATE);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(out), 24u);
    for (const auto& [x, y] : {std::pair{2, 15}, {35, 25}}) {
      const test::Pixel a = test::PixelAt(out, x, y), b = test::PixelAt(plain, x, y);
      EXPECT_EQ(a.r, b.r);
      EXPECT_EQ(a.g, b.g);
      EXPECT_EQ(a.b, b.b);
    }
    FreeImage_Unload(plain);
    FreeImage_Unload(out);
  }
}

}  // namespace
}  // namespace tarnwick
