#include "core/keywords.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(KeywordsTest, ForwardLookup) {
  const struct {
    int table;
    const char* text;
    int code;
  } cases[] = {
      {7, "high", 3},       {7, "HIGH", 3},     {7, "max", 0},         {7, "", 0},
      {1, "48hs", 4},       {1, "48", 5},       {1, "4", 0},           {4, "RLE", 1},
      {4, "zip", 1},        {4, "LOGLUV", 8},   {4, "ccittfax4", 2},   {12, "lanczos", 5},
      {16, "STRIKETHROUGHT", 2}, {16, "strikethrough", 0}, {20, "anything", 0}, {13, "SOLID", 0},
      {14, "TEXT", 0},      {22, "RLE", 0},     {-1, "RLE", 0},        {19, "middlecenter", 4},
      {21, "custom", 2},    {0, "rgba", 2},     {3, "gd", 4},          {11, "LARGEIMAGES", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(KeywordToCode(c.table, c.text), c.code) << c.table << " " << c.text;
}

TEST(KeywordsTest, ReverseLookup) {
  EXPECT_EQ(CodeToKeyword(0, 7), "");
  EXPECT_EQ(CodeToKeyword(13, 1), "solid");
  EXPECT_EQ(CodeToKeyword(14, 2), "image");
  EXPECT_EQ(CodeToKeyword(20, 0), "fixed");
  EXPECT_EQ(CodeToKeyword(4, 1), "rle");
  EXPECT_EQ(CodeToKeyword(4, 5), "adobedeflate");
  EXPECT_EQ(CodeToKeyword(4, 8), "logluv");
  EXPECT_EQ(CodeToKeyword(12, 5), "lanczos");
  EXPECT_EQ(CodeToKeyword(16, 2), "strikethrought");
  EXPECT_EQ(CodeToKeyword(19, 8), "bottomright");
  EXPECT_EQ(CodeToKeyword(30, 0), "");
}

}  // namespace
}  // namespace tarnwick
