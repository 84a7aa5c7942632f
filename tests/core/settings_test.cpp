#include "core/settings.h"

#include <gtest/gtest.h>

#include <set>

#include "core/formats.h"
#include "core/messages.h"
#include "core/product.h"

namespace tarnwick {
namespace {

TEST(SettingsTest, TableHoldsEveryGroupInFileOrder) {
  const std::vector<std::string> expected{"General", "Window",    "Interface", "Input",    "Output", "Transform",
                                          "Adjustment", "Frame", "Watermark", "Advanced", "File",   "Privacy"};
  std::vector<std::string> seen;
  for (const SettingDef& def : AllSettings())
    if (seen.empty() || seen.back() != def.group) seen.push_back(def.group);
  EXPECT_EQ(seen, expected);
  // Group and key name a setting once; "Format" and "Image Rotation" occur in
  // two groups.
  std::set<std::pair<std::string, std::string>> keys;
  for (const SettingDef& def : AllSettings()) EXPECT_TRUE(keys.emplace(def.group, def.key).second) << def.key;
  EXPECT_NE(FindSetting("transform", "image rotation"), FindSetting("Watermark", "Image Rotation"));
}

TEST(SettingsTest, DefaultsOfBothFaces) {
  Settings s;
  Defaults(s, false, {1920, 1080}, 12345);
  EXPECT_EQ(s.x, 705);
  EXPECT_EQ(s.y, 410);
  EXPECT_EQ(s.keepAspectRatio, 1);
  EXPECT_EQ(s.cfg, 17);
  EXPECT_EQ(s.updateDate, 12345);
  EXPECT_EQ(s.customTimestamp, 12345);
  EXPECT_EQ(s.inputFormat, "jpg");
  EXPECT_EQ(s.outputFormat, "tga");
  EXPECT_EQ(s.jpgQuality, 95);
  EXPECT_FLOAT_EQ(s.imageGamma, 1.0f);
  EXPECT_EQ(s.imageResizeAlgorithm, 3);
  EXPECT_EQ(s.textPosition, 8);
  EXPECT_EQ(s.backOpacity, 1);
  EXPECT_EQ(s.filenameMask, "%filename%.%ext%");
  EXPECT_EQ(s.fonts, "Arial,Tahoma,Verdana");
  EXPECT_EQ(s.fontColors, "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF");
  EXPECT_EQ(s.backColors, s.fontColors);
  EXPECT_FALSE(s.text.empty());

  Defaults(s, true, {500, 200}, 0);
  EXPECT_EQ(s.keepAspectRatio, 0);
  EXPECT_EQ(s.x, 100);
  EXPECT_EQ(s.y, 100);
}

TEST(SettingsTest, Int8KeepsLowBits) {
  Settings s;
  const SettingDef& def = SettingOf("Watermark", "Text Position");
  SetInteger(s, def, 260);
  EXPECT_EQ(s.textPosition, 4);
  SetInteger(s, def, -1);
  EXPECT_EQ(s.textPosition, -1);
}

TEST(SettingsTest, ColourNames) {
  BuildCatalogue();
  EXPECT_EQ(ColourName("ff8000"), "Orange");
  EXPECT_EQ(ColourName("804000"), "Brown");
  EXPECT_EQ(ColourName("123456"), "Color #123456");
  EXPECT_EQ(ColourName("a1b2c3"), "Color #A1B2C3");
}

TEST(SettingsTest, ColourTexts) {
  const Rgb orange = ParseColour("FF8000");
  EXPECT_EQ(orange.r, 255);
  EXPECT_EQ(orange.g, 128);
  EXPECT_EQ(orange.b, 0);
  const Rgb partial = ParseColour("ZZ1a9G");
  EXPECT_EQ(partial.r, 0);
  EXPECT_EQ(partial.g, 0x1a);
  EXPECT_EQ(partial.b, 9);
  const Rgb wrongLength = ParseColour("FFFFF");
  EXPECT_EQ(wrongLength.r + wrongLength.g + wrongLength.b, 0);
}

}  // namespace
}  // namespace tarnwick

namespace tarnwick {
namespace {

TEST(ProductTest, VersionAndTitleTexts) {
  const std::pair<int, const char*> versions[] = {{270, "2.7"}, {271, "2.7.1"}, {200, "2.0"}, {305, "3.0.5"}};
  for (const auto& [version, text] : versions) EXPECT_EQ(VersionText(version), text) << version;
  EXPECT_EQ(TitleText(kProductName, kProgramVersion), "Tarnwick 2.7");
}

}  // namespace
}  // namespace tarnwick
