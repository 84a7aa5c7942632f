#include "core/keywords.h"

#include <initializer_list>
#include <span>

#include "core/text.h"

namespace tarnwick {
namespace {

struct Keyword {
  const char* word;
  uint8_t code;
};

struct Table {
  std::span<const Keyword> forward;  // empty for the reverse-only tables
  std::span<const Keyword> reverse;  // one keyword per code
};

constexpr Keyword kDdsLoad[] = {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}};
constexpr Keyword kRawLoad[] = {{"AUTO", 0}, {"8", 1}, {"16", 2}, {"24", 3}, {"48HS", 4}, {"48", 5}};
constexpr Keyword kFrames[] = {{"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}};
constexpr Keyword kToneMapping[] = {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}};
// One list serves the five compression options; the code means something
// different per format (see SaveFlags).
constexpr Keyword kCompression[] = {
    {"NONE", 0},      {"RLE", 1},       {"ZIP", 1},       {"PIZ", 2},     {"PXR24", 3},   {"B44", 4},
    {"ZLIB1", 1},     {"ZLIB6", 2},     {"ZLIB9", 3},     {"CCITTFAX3", 1}, {"CCITTFAX4", 2}, {"PACKBITS", 3},
    {"DEFLATE", 4},   {"ADOBEDEFLATE", 5}, {"LZW", 6},    {"JPEG", 7},    {"LOGLUV", 8},
};
// The debug listing names compression codes by one shared word each.
constexpr Keyword kCompressionNames[] = {{"NONE", 0}, {"RLE", 1},          {"PIZ", 2}, {"PXR24", 3},  {"B44", 4},
                                         {"ADOBEDEFLATE", 5}, {"LZW", 6}, {"JPEG", 7}, {"LOGLUV", 8}};
constexpr Keyword kColorTable[] = {{"AUTO", 0}, {"EXACT", 1}};
constexpr Keyword kColorModel[] = {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}};
constexpr Keyword kChroma[] = {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}};
constexpr Keyword kJpegSave[] = {{"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}};
constexpr Keyword kRotationType[] = {{"SIMPLE", 0}, {"ADVANCED", 1}};
constexpr Keyword kUnit[] = {{"PIXELS", 0}, {"PERCENT", 1}};
constexpr Keyword kResizeType[] = {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}};
constexpr Keyword kFilter[] = {{"BOX", 0},     {"BILINEAR", 1},   {"BSPLINE", 2},
                               {"BICUBIC", 3}, {"CATMULLROM", 4}, {"LANCZOS", 5}};
constexpr Keyword kFrameKind[] = {{"NONE", 0}, {"SOLID", 1}};
constexpr Keyword kWatermarkKind[] = {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}};
constexpr Keyword kFontStyle[] = {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}};
constexpr Keyword kFontEffect[] = {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}};
constexpr Keyword kAlignment[] = {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}};
constexpr Keyword kBoundary[] = {{"IMAGE", 0}, {"FRAME", 1}};
constexpr Keyword kPosition[] = {{"TOPLEFT", 0},     {"TOPCENTER", 1},    {"TOPRIGHT", 2},
                                 {"MIDDLELEFT", 3},  {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5},
                                 {"BOTTOMLEFT", 6},  {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8}};
constexpr Keyword kSizeMode[] = {{"FIXED", 0}};
constexpr Keyword kTimestamp[] = {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}};

constexpr Table kTables[] = {
    {kDdsLoad, kDdsLoad},         // 0
    {kRawLoad, kRawLoad},         // 1
    {kFrames, kFrames},           // 2
    {kToneMapping, kToneMapping}, // 3
    {kCompression, kCompressionNames},  // 4
    {kColorTable, kColorTable},   // 5
    {kColorModel, kColorModel},   // 6
    {kChroma, kChroma},           // 7
    {kJpegSave, kJpegSave},       // 8
    {kRotationType, kRotationType},  // 9
    {kUnit, kUnit},               // 10
    {kResizeType, kResizeType},   // 11
    {kFilter, kFilter},           // 12
    {{}, kFrameKind},             // 13
    {{}, kWatermarkKind},         // 14
    {kFontStyle, kFontStyle},     // 15
    {kFontEffect, kFontEffect},   // 16
    {kAlignment, kAlignment},     // 17
    {kBoundary, kBoundary},       // 18
    {kPosition, kPosition},       // 19
    {kSizeMode, kSizeMode},       // 20
    {kTimestamp, kTimestamp},     // 21
};

const Table* TableOf(int table) {
  if (table < 0 || static_cast<size_t>(table) >= std::size(kTables)) return nullptr;
  return &kTables[table];
}

}  // namespace

uint8_t KeywordToCode(int table, std::string_view text) {
  const Table* t = TableOf(table);
  if (t == nullptr) return 0;
  const std::string word = ToUpper(text);
  for (const Keyword& k : t->forward)
    if (word == k.word) return k.code;
  return 0;
}

std::string CodeToKeyword(int table, int code) {
  const Table* t = TableOf(table);
  if (t == nullptr) return {};
  for (const Keyword& k : t->reverse)
    if (k.code == code) return ToLower(k.word);
  return {};
}

}  // namespace tarnwick
