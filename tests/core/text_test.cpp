#include "core/text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarnwick {
namespace {

TEST(TextTest, CaseMappingIsPerCodePoint) {
  EXPECT_EQ(ToUpper("éxr-photo"), "ÉXR-PHOTO");
  EXPECT_EQ(ToLower("ÉXR ÅÄÖ"), "éxr åäö");
  EXPECT_EQ(ToTitle("my PHOTO"), "My photo");
  EXPECT_EQ(ToTitle("élan VITAL"), "Élan vital");
  EXPECT_EQ(ToTitle(""), "");
  // Bytes that are no UTF-8 pass through unchanged.
  EXPECT_EQ(ToUpper(std::string("a\xFF" "b", 3)), std::string("A\xFF" "B", 3));
}

TEST(TextTest, NumberRule) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"800", 800},  {"800px", 800}, {"abc", 0},   {"", 0},       {"  \t-20", -20}, {"+7", 7},
      {"$1F", 31},   {"$ff", 255},   {"%101", 5},  {"%102", 2},   {"-$10", -16},    {"12.5", 12},
      {"$", 0},      {"4294967297", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << c.text;
}

TEST(TextTest, DecimalRule) {
  EXPECT_FLOAT_EQ(ParseDecimal("2.2"), 2.2f);
  EXPECT_FLOAT_EQ(ParseDecimal("0.01"), 0.01f);
  EXPECT_FLOAT_EQ(ParseDecimal("-1.5"), -1.5f);
  EXPECT_FLOAT_EQ(ParseDecimal("abc"), 0.0f);
  EXPECT_FLOAT_EQ(ParseDecimal("1e1"), 10.0f);
  EXPECT_TRUE(std::isinf(ParseDecimal("+Infinity")) && ParseDecimal("+infinity") > 0);
  EXPECT_TRUE(std::isinf(ParseDecimal("-INFINITY")) && ParseDecimal("-Infinity") < 0);
  EXPECT_TRUE(std::isnan(ParseDecimal("nan")));
}

TEST(TextTest, PathParts) {
  EXPECT_EQ(BaseNameNoExtension("/photos/Trip.2019.JPG"), "Trip.2019");
  EXPECT_EQ(BaseNameNoExtension("C:\\Photos\\Trip.2019.JPG"), "Trip.2019");
  EXPECT_EQ(BaseNameNoExtension("/a/noext"), "noext");
  EXPECT_EQ(PathExtension("/a/b.JPEG"), "JPEG");
  EXPECT_EQ(PathExtension("/a.b/c"), "");
  EXPECT_EQ(PathExtension("x. y"), "");
  EXPECT_EQ(FolderPart("/in/x.jpg"), "/in/");
  EXPECT_EQ(FolderPart("x.jpg"), "");
}

TEST(TextTest, ReplaceIgnoresCase) {
  EXPECT_EQ(ReplaceAllNoCase("IMG_%N%_%n%", "%n%", "7"), "IMG_7_7");
  EXPECT_EQ(ReplaceAllNoCase("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "café");
}

// Letters whose lower case has another byte length ("İ" 2 -> 1, "Ⱥ" 2 -> 3,
// "ẞ" 3 -> 2) must neither hide a token nor shift where it is replaced.
TEST(TextTest, ReplaceAcrossLettersThatChangeLength) {
  const struct {
    const char* text;
    const char* what;
    const char* expected;
  } cases[] = {
      {"İstanbul %N%", "%n%", "İstanbul 7"},  // found by the mask fuzzer
      {"İⱥⱥ_%n%_İȺȺ", "%n%", "İⱥⱥ_7_İȺȺ"},    // lengths even out over the whole text
      {"GROẞ %WIDTH% ẞ", "%width%", "GROẞ 7 ẞ"},
      {"Ⱥ-ⱥ-Ⱥ", "ⱥ", "7-7-7"},                  // the needle itself changes length
      {"İi", "i", "77"},                        // "İ" lower-cases to "i"
      {"\xC4 %N% \xB0", "%n%", "\xC4 7 \xB0"},  // stray bytes stay as they are
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceAllNoCase(c.text, c.what, "7"), c.expected) << c.text;
}

}  // namespace
}  // namespace tarnwick
