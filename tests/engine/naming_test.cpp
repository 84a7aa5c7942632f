#include "engine/naming.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "platform/clock.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

class NamingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Defaults(s, true, {}, 0);
    run.outputFolder = "/out/";
    run.outputExtension = "tga";
    run.inputPath = "/in/dsc01.jpg";
    run.counter = 7;
    run.runNumber = 42;
    run.outputDepth = 24;
    run.outputWidth = 640;
    run.outputHeight = 480;
    // 2026-03-04 05:06:07 UTC; tests run with TZ=UTC.
    SetNowSource([] { return std::time_t{1772600767}; });
  }
  void TearDown() override { SetNowSource(nullptr); }

  std::string Name(const std::string& mask, const std::string& input = "/in/dsc01.jpg") {
    s.filenameMask = mask;
    run.inputPath = input;
    return MaskName(s, run);
  }

  Settings s;
  RunContext run;
};

TEST_F(NamingTest, MaskTokens) {
  const struct {
    const char* mask;
    const char* input;
    const char* name;
  } cases[] = {
      {"", "/in/dsc01.jpg", "dsc01.tga"},
      {"%filename%.%ext%", "/in/Trip.2019.JPG", "Trip.2019.tga"},
      {"IMG_%n%_%FILENAME[U]%.%EXT%", "/in/dsc01.jpg", "img_00007_DSC01.tga"},
      {"%filename[t]%", "/in/my PHOTO.jpg", "My photo"},
      {"%filename[l]%-%filename[u]%", "/in/MiXeD.jpg", "mixed-MIXED"},
      {"%ext[u]%.%ext[t]%.%Ext%", "/in/a.jpg", "TGA.Tga.tga"},
      {"%yyyy%-%mm%-%dd% %hh%.%ii%.%ss%", "/in/a.jpg", "2026-03-04 05.06.07"},
      {"%bpp%_%width%x%height%", "/in/a.jpg", "24_640x480"},
      {"%rnd%", "/in/a.jpg", "00042"},
      {"out.tga", "/in/a.jpg", "out.tga"},
      // Values are searched again by later tokens.
      {"%filename%.%ext%", "/in/a%ext%b.jpg", "atgab.tga"},
      {"%filename%", "C:\\Photos\\Back.Slash.JPG", "Back.Slash"},
      {"ÉTÉ_%filename%", "/in/x.jpg", "été_x"},
      // Names whose lower case is shorter or longer keep their tokens' places.
      {"%filename%_%n%_%filename[u]%", "/in/İⱥⱥ.jpg", "İⱥⱥ_00007_İȺȺ"},
  };
  for (const auto& c : cases) EXPECT_EQ(Name(c.mask, c.input), c.name) << c.mask;
}

TEST_F(NamingTest, FiveDigitsAndPaths) {
  EXPECT_EQ(FiveDigits(42), "00042");
  EXPECT_EQ(FiveDigits(123456), "12345");
  EXPECT_EQ(FiveDigits(99999), "99999");
  run.counter = 123456;
  EXPECT_EQ(Name("%n%"), "12345");
  run.subfolder = "sub/";
  s.filenameMask = "";
  EXPECT_EQ(OutputPath(s, run), "/out/sub/dsc01.tga");
  s.keepSubfolders = 0;
  EXPECT_EQ(OutputPath(s, run), "/out/dsc01.tga");
}

TEST_F(NamingTest, WatermarkTextSharesTheTokens) {
  EXPECT_EQ(ExpandTokens("%WIDTH% by %height% at %bpp% bits", run), "640 by 480 at 24 bits");
  // A letter that lower-cases to fewer bytes hid every token written in
  // upper case (found by the mask fuzzer).
  EXPECT_EQ(ExpandTokens("İstanbul %N%", run), "İstanbul 00007");
}

// The output date passes through the local-clock date type; it must come
// out exact to the second whatever the time zone.
class OutputDateTest : public ::testing::TestWithParam<const char*> {};

TEST_P(OutputDateTest, OriginalAndCustomAreExact) {
  setenv("TZ", GetParam(), 1);
  tzset();
  test::TempDir dir;
  Settings s;
  Defaults(s, true, {}, 0);
  RunContext run;
  run.inputPath = dir / "in.jpg";
  run.outputPath = dir / "out.tga";
  test::WriteFile(run.inputPath, "x");
  test::WriteFile(run.outputPath, "y");
  // A summer date, so that daylight saving time is in force where it exists.
  const std::time_t original = 1751371385;  // 2025-07-01 12:03:05 UTC
  ASSERT_TRUE(SetFileDate(run.inputPath, DateFromTime(original)));

  s.fileTimestamp = 1;
  SetOutputDate(s, run);
  struct stat st {};
  ASSERT_EQ(stat(run.outputPath.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, original);

  s.fileTimestamp = 2;
  s.customTimestamp = 0;  // 1970-01-01 00:00:00 of the local clock
  SetOutputDate(s, run);
  ASSERT_EQ(stat(run.outputPath.c_str(), &st), 0);
  std::tm local{};
  localtime_r(&st.st_mtime, &local);
  EXPECT_EQ(local.tm_year, 70);
  EXPECT_EQ(local.tm_mon, 0);
  EXPECT_EQ(local.tm_mday, 1);
  EXPECT_EQ(local.tm_hour, 0);
  EXPECT_EQ(local.tm_min, 0);
  EXPECT_EQ(local.tm_sec, 0);

  s.customTimestamp = DateFromTime(original) + 3600;
  SetOutputDate(s, run);
  ASSERT_EQ(stat(run.outputPath.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, original + 3600);

  // "Current" leaves the file's own time alone.
  s.fileTimestamp = 0;
  SetOutputDate(s, run);
  ASSERT_EQ(stat(run.outputPath.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, original + 3600);
  setenv("TZ", "UTC", 1);
  tzset();
}

INSTANTIATE_TEST_SUITE_P(Zones, OutputDateTest, ::testing::Values("UTC", "Europe/Berlin", "America/New_York"));

}  // namespace
}  // namespace tarnwick
