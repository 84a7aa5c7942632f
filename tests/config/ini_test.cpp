#include "config/ini.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace tarnwick {
namespace {

TEST(IniTest, ReadingRules) {
  const std::string text =
      "\xEF\xBB\xBF\r\n"
      "; comment\r\n"
      "  [General]\r\n"
      "CFG = 17\r\n"
      "\tLanguage=en  \t\r\n"
      "\r\n"
      "[output]\n"
      "jpg quality=80\n"
      "Empty =\n"
      "no equals sign\n"
      "Text = a = b\n";
  const IniFile ini = IniFile::Parse(text);
  EXPECT_EQ(ini.Value("GENERAL", "cfg"), "17");
  EXPECT_EQ(ini.Value("General", "Language"), "en");
  EXPECT_EQ(ini.Value("Output", "JPG Quality"), "80");
  EXPECT_EQ(ini.Value("Output", "Empty"), "");
  EXPECT_EQ(ini.Value("Output", "Text"), "a = b");
  EXPECT_EQ(ini.Value("Output", "CFG"), std::nullopt);  // only within its group
  EXPECT_EQ(ini.Value("Missing", "CFG"), std::nullopt);
}

TEST(IniTest, WithoutByteOrderMarkReadsLatin1) {
  const IniFile latin = IniFile::Parse("[W]\nText = caf\xE9\n");
  EXPECT_EQ(latin.Value("w", "text"), "café");
  const IniFile utf8 = IniFile::Parse("\xEF\xBB\xBF[W]\nText = café\n");
  EXPECT_EQ(utf8.Value("w", "text"), "café");
}

TEST(IniTest, GarbageNeverBreaksTheReader) {
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
  garbage += "\n[CLI]\n--jpg-quality = 5";  // a last line without a line break
  const IniFile ini = IniFile::Parse(garbage);
  EXPECT_EQ(ini.Value("cli", "--JPG-QUALITY"), "5");
  EXPECT_TRUE(IniFile::Parse("[").Groups().size() == 1);
  EXPECT_TRUE(IniFile::Parse("=\n==\n[x\n=y").FindGroup("x") != nullptr);
}

TEST(IniTest, LoadRefusesFoldersAndMissingFiles) {
  test::TempDir dir;
  EXPECT_FALSE(IniFile::Load(dir / "missing.ini").has_value());
  EXPECT_FALSE(IniFile::Load(dir.path()).has_value());
  test::WriteFile(dir / "p.ini", "[CLI]\r\n--WIDTH = 10\r\n");
  const auto ini = IniFile::Load(dir / "p.ini");
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(ini->Value("CLI", "--width"), "10");
}

TEST(IniTest, WriterLineFormat) {
  IniWriter w;
  w.BeginGroup("General");
  w.Put("CFG", "17");
  w.EndGroup();
  EXPECT_EQ(w.Text(), "\xEF\xBB\xBF\r\n[General]\r\nCFG = 17\r\n; \r\n");
  EXPECT_EQ(IniFile::Parse(w.Text()).Value("General", "CFG"), "17");
}

}  // namespace
}  // namespace tarnwick
