#include "cli/options.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace tarnwick {
namespace {

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { Defaults(s, true, {}, 0); }
  // Parses the parameters into fresh state; returns the error text.
  std::string Parse(std::vector<std::string> params) {
    Defaults(s, true, {}, 0);
    run = RunContext{};
    state = WorkingState{};
    cl = CommandLine{};
    cl.params = std::move(params);
    ParseParameters(cl, s, run, state);
    return cl.error;
  }

  Settings s;
  RunContext run;
  WorkingState state;
  CommandLine cl;
  test::TempDir dir;
};

TEST_F(OptionsTest, NamesAndValues) {
  EXPECT_EQ(OptionName("  --Jpg-Quality=80 "), "--JPG-QUALITY");
  EXPECT_EQ(OptionName("-i"), "-I");
  EXPECT_EQ(OptionName("-x=1"), "-X=1");
  EXPECT_EQ(OptionName("photo.jpg"), "");
  EXPECT_EQ(OptionValue("--width=800px"), "800px");
  EXPECT_EQ(OptionValue("--a=b=c"), "b=c");
  EXPECT_EQ(OptionValue("--input"), "--input");
  EXPECT_EQ(OptionValue(" photo.jpg "), "photo.jpg");
}

TEST_F(OptionsTest, InputForms) {
  for (const std::vector<std::string>& params : std::vector<std::vector<std::string>>{
           {"-i", "photo.jpg"}, {"-I", "photo.jpg"}, {"--input=photo.jpg"}, {"--INPUT=\"photo.jpg\""}}) {
    EXPECT_EQ(Parse(params), "");
    EXPECT_EQ(state.commandLineInput, "photo.jpg");
    EXPECT_TRUE(run.consoleMode);
  }
  EXPECT_EQ(Parse({"-i", "\"my", "holiday", "photo.jpg\"", "-o", "/out"}), "");
  EXPECT_EQ(state.commandLineInput, "my holiday photo.jpg");
  EXPECT_EQ(run.outputFolder, "/out");
  EXPECT_EQ(Parse({"-c", "\"tga\"", "-i", "x.jpg"}), "");
  EXPECT_EQ(run.outputExtension, "tga");
  // A later first-parameter command is ignored by the loop.
  EXPECT_EQ(Parse({"-i", "x.jpg", "-v", "-h"}), "");
}

TEST_F(OptionsTest, ParameterErrors) {
  const std::vector<std::vector<std::string>> bad{
      {"-i"}, {"-o", "-x"}, {"--input"}, {"--width"}, {"--width="}, {"--wm-text=--x"}, {"-i", "a.jpg", "-c", ""},
  };
  for (const auto& params : bad) EXPECT_EQ(Parse(params), "Incorrect number of parameters") << params[0];
  // "-i" sets the console flag before its value is checked.
  Parse({"-i"});
  EXPECT_TRUE(run.consoleMode);
  // The loop stops at the first error.
  Parse({"--width", "--height=5"});
  EXPECT_EQ(s.imageHeight, 0);
  EXPECT_EQ(Parse({"--profile=" + (dir / "missing.ini")}), "Invalid profile file");
  EXPECT_EQ(Parse({"--profile=" + dir.path()}), "Invalid profile file");
}

TEST_F(OptionsTest, ValuesAndEffects) {
  EXPECT_EQ(Parse({"--width=800px", "--height=$1F", "--brightness=-20", "--gamma=2.2", "--jpg-chroma= High ",
                   "--raw-load-as=48hs", "--tiff-compression=rle", "--wm-text-size=whatever", "--keep-aspect-ratio=0",
                   "--rotation=90", "--threshold=%1010", "--fr-solid-top=3", "--wm-image=/p.png", "--no-subfolders",
                   "--unknown=1", "stray", "-d", "-q", "-p"}),
            "");
  EXPECT_EQ(s.imageWidth, 800);
  EXPECT_EQ(s.imageHeight, 31);
  EXPECT_EQ(s.doImageResize, 1);
  EXPECT_EQ(s.imageBrightness, -20);
  EXPECT_EQ(s.doImageColorCorrection, 1);
  EXPECT_FLOAT_EQ(s.imageGamma, 2.2f);
  EXPECT_EQ(s.jpgChroma, 3);
  EXPECT_EQ(s.rawLoadAs, 4);
  EXPECT_EQ(s.tiffCompression, 1);
  EXPECT_EQ(s.textSize, 0);
  EXPECT_EQ(s.keepAspectRatio, 1);
  EXPECT_EQ(s.imageRotation, 90);
  EXPECT_EQ(s.doImageRotation, 1);
  EXPECT_EQ(s.imageThreshold, 10);
  EXPECT_EQ(s.doImageThreshold, 1);
  EXPECT_EQ(s.solidTop, 3);
  EXPECT_EQ(s.doFrame, 1);
  EXPECT_EQ(s.doWatermark, 2);
  EXPECT_EQ(s.image, "/p.png");
  EXPECT_EQ(s.keepSubfolders, 0);
  EXPECT_EQ(run.runMode, "DEBUG");
  EXPECT_TRUE(cl.quiet);
  EXPECT_TRUE(cl.pause);
  EXPECT_FALSE(run.consoleMode);

  Parse({"--gamma=NaN", "--wm-text=\"a", "b\"", "--invert"});
  EXPECT_TRUE(std::isnan(s.imageGamma));
  EXPECT_EQ(s.text, "a b");
  EXPECT_EQ(s.doWatermark, 1);
  EXPECT_EQ(s.imageInvert, 1);
  Parse({"--wm-font-effect=STRIKETHROUGH", "--rotation-type=advanced", "--wm-text-position=topleft"});
  EXPECT_EQ(s.fontEffect, 0);
  EXPECT_EQ(s.imageRotationType, 1);
  EXPECT_EQ(s.textPosition, 0);
}

TEST_F(OptionsTest, ProfilesApplyWhereTheyStand) {
  const std::string profile = dir / "p.ini";
  test::WriteFile(profile,
                  "[cli]\n--jpg-quality = 80\n--greyscale = 0\n--WM-SOLID-OPACITY = 77\n--fr-solid-opacity = 5\n"
                  "--filename-mask = \"\"%filename%_p.%ext%\"\"\n--input = other.jpg\n--width = 1\n--width = 2\n"
                  "--wm-text = \"kept\"\n--jpg-chroma =\n");
  EXPECT_EQ(Parse({"--jpg-quality=70", "--profile=" + profile}), "");
  EXPECT_EQ(s.jpgQuality, 80);
  EXPECT_EQ(s.doImageGreyscale, 1);
  EXPECT_EQ(s.solidOpacity, 77);
  EXPECT_EQ(s.filenameMask, "%filename%_p.%ext%");
  EXPECT_EQ(state.commandLineInput, "");
  EXPECT_EQ(s.imageWidth, 2);
  EXPECT_EQ(s.text, "\"kept\"");
  EXPECT_EQ(s.jpgChroma, 0);
  EXPECT_EQ(Parse({"--profile=" + profile, "--jpg-quality=70"}), "");
  EXPECT_EQ(s.jpgQuality, 70);

  test::WriteFile(dir / "nocli.ini", "[Other]\n--jpg-quality = 1\n");
  EXPECT_EQ(Parse({"--profile=" + (dir / "nocli.ini")}), "");
  EXPECT_EQ(s.jpgQuality, 95);
}

}  // namespace
}  // namespace tarnwick
