#include "config/config_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <set>

#include "config/ini.h"
#include "core/formats.h"
#include "core/text.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

constexpr DesktopSize kDesktop{1920, 1080};
constexpr int32_t kNow = 1700000000;

// A setting's value as one comparable text.
std::string Show(const Settings& s, const SettingDef& def) {
  if (def.type == SettingType::Float) {
    const float v = GetFloat(s, def);
    return std::isnan(v) ? "nan" : std::to_string(v);
  }
  if (IsNumeric(def)) return std::to_string(GetInteger(s, def));
  return GetText(s, def);
}

std::string Show(const Settings& s, const char* group, const char* key) { return Show(s, SettingOf(group, key)); }

void ExpectSameRecord(const Settings& actual, const Settings& expected, const std::string& what) {
  for (const SettingDef& def : AllSettings())
    EXPECT_EQ(Show(actual, def), Show(expected, def)) << what << ": [" << def.group << "] " << def.key;
}

// What a file gives to every key it does not hold .
Settings ReadDefaults() {
  Settings s;
  Defaults(s, false, kDesktop, kNow);
  s.x = 100;
  s.y = 100;
  s.cfg = 0;
  return s;
}

Settings DefaultSettings() {
  Settings s;
  Defaults(s, false, kDesktop, kNow);
  return s;
}

std::string Crlf(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// A write that fails as a full disk does.
long FailingWrite(int, const void*, size_t) {
  errno = ENOSPC;
  return -1;
}
// A write that gets a few bytes out and then fails.
long ShortThenFailingWrite(int fd, const void* data, size_t size) {
  static bool wrote = false;
  if (!wrote) {
    wrote = true;
    return ::write(fd, data, std::min<size_t>(size, 10));
  }
  wrote = false;
  errno = EIO;
  return -1;
}

struct WriteHookGuard {
  explicit WriteHookGuard(WriteHook hook) { SetWriteHook(hook); }
  ~WriteHookGuard() { SetWriteHook(nullptr); }
};

class ConfigFileTest : public ::testing::Test {
 protected:
  // Writes `bytes` as config.ini and loads it into a record that starts
  // from values no file gives, so that every field is seen to be set.
  Settings LoadText(const std::string& bytes, bool* opened = nullptr) {
    test::WriteFile(path, bytes);
    return LoadPath(path, opened);
  }
  Settings LoadPath(const std::string& file, bool* opened = nullptr) {
    Settings s = Dirty();
    const bool ok = LoadConfig(s, file, kDesktop, kNow);
    if (opened != nullptr) *opened = ok;
    return s;
  }
  static Settings Dirty() {
    Settings s;
    for (const SettingDef& def : AllSettings()) {
      SetInteger(s, def, 77);
      SetFloat(s, def, 77.0f);
      SetText(s, def, "dirty");
    }
    return s;
  }

  test::TempDir dir;
  std::string path = dir / "config.ini";
};

// The file saved with the defaults on a 1920 by 1080 desktop.
TEST_F(ConfigFileTest, DefaultsFileBeginsWithTheKnownLines) {
  ASSERT_TRUE(SaveConfig(DefaultSettings(), path));
  const std::string expected = "\xEF\xBB\xBF\r\n" + Crlf({
                                                        "[General]",
                                                        "CFG = 17",
                                                        "Language = en",
                                                        "Update Range = 2",
                                                        "Update Date = 1700000000",
                                                        "Save Window Position = 1",
                                                        "; ",
                                                        "[Window]",
                                                        "IsMaximized = 0",
                                                        "Width = 510",
                                                        "Height = 260",
                                                        "X = 705",
                                                        "Y = 410",
                                                        "; ",
                                                        "[Interface]",
                                                        "UI Theme = handdrawn",
                                                        "UI Size = 2",
                                                        "; ",
                                                        "[Input]",
                                                        "Format = jpg",
                                                        "; ",
                                                        "[Output]",
                                                        "Format = tga",
                                                        "TGA BPP = 0",
                                                        "TGA Compression = 0",
                                                        "; ",
                                                    });
  const std::string bytes = test::ReadFile(path);
  ASSERT_GE(bytes.size(), expected.size());
  EXPECT_EQ(bytes.substr(0, expected.size()), expected);
  EXPECT_EQ(bytes.substr(expected.size(), 13), "[Transform]\r\n");
  EXPECT_EQ(bytes, ConfigText(DefaultSettings()));
}

// Every group in its order, each closed by "; ", CR LF throughout, no blank
// lines, and the keys of the table's groups in the table's order.
TEST_F(ConfigFileTest, WholeFileLayout) {
  const std::string text = ConfigText(DefaultSettings());
  ASSERT_TRUE(StartsWith(text, "\xEF\xBB\xBF\r\n"));
  ASSERT_TRUE(EndsWith(text, "[Privacy]\r\nClean Recent Files = 0\r\n; \r\n"));
  const std::string body = text.substr(5);
  std::vector<std::string> lines;
  for (size_t pos = 0; pos < body.size();) {
    const size_t end = body.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    lines.push_back(body.substr(pos, end - pos));
    pos = end + 2;
  }
  // Regroup the lines and compare with the table.
  std::vector<std::pair<std::string, std::vector<std::string>>> groups;
  for (const std::string& line : lines) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.find('\n'), std::string::npos);
    ASSERT_EQ(line.find('\r'), std::string::npos);
    if (line.front() == '[') {
      ASSERT_TRUE(groups.empty() || groups.back().second.back() == "; ") << line;
      groups.push_back({line.substr(1, line.size() - 2), {}});
    } else {
      ASSERT_FALSE(groups.empty());
      groups.back().second.push_back(line == "; " ? line : line.substr(0, line.find(" = ")));
    }
  }
  std::vector<std::pair<std::string, std::vector<std::string>>> expected;
  for (const SettingDef& def : AllSettings()) {
    if (expected.empty() || expected.back().first != def.group) expected.push_back({def.group, {}});
    const std::string group = def.group;
    if (group == "Window" || ((group == "Input" || group == "Output") && std::string(def.key) != "Format")) continue;
    expected.back().second.push_back(def.key);
  }
  for (auto& [group, keys] : expected) {
    if (group == "Window") keys = {"IsMaximized", "Width", "Height", "X", "Y"};
    if (group == "Output") keys.insert(keys.end(), {"TGA BPP", "TGA Compression"});
    keys.push_back("; ");
  }
  EXPECT_EQ(groups, expected);
  EXPECT_NE(text.find("\r\nImage Gamma = 1.000000\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nFonts = Arial,Tahoma,Verdana\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nImage = \r\n"), std::string::npos);
}

// The load and save options of each format, in the order the file writes them.
TEST_F(ConfigFileTest, FormatOptionsInTheirWrittenOrder) {
  using Keys = std::vector<std::string>;
  const struct {
    const char* group;
    const char* format;
    Keys keys;
  } cases[] = {
      {"Input", "dds", {"DDS Load As"}},
      {"Input", "gif", {"GIF Frame Loading"}},
      {"Input", "ico", {"ICO Frame Loading"}},
      {"Input", "raw", {"RAW Load As", "RAW Header Size", "RAW Image Width", "RAW Image Height", "RAW Tone Mapping"}},
      {"Input", "tiff", {"TIFF Frame Loading"}},
      {"Input", "jpg", {}},
      {"Input", "png", {}},
      {"Output", "bmp", {"BMP BPP", "BMP Compression", "BMP Color Table"}},
      {"Output", "dds", {"DDS BPP"}},
      {"Output", "exr", {"EXR BPP", "EXR Compression"}},
      {"Output", "gif", {"GIF BPP"}},
      {"Output", "hdr", {"HDR BPP"}},
      {"Output", "ico", {"ICO BPP"}},
      {"Output", "j2k", {"J2K BPP"}},
      {"Output", "jng", {"JNG BPP"}},
      {"Output", "jp2", {"JP2 BPP"}},
      {"Output", "jpg", {"JPG BPP", "JPG Quality", "JPG Chroma", "JPG Save As"}},
      {"Output", "jxr", {"JXR BPP"}},
      {"Output", "pbm", {"PBM BPP"}},
      {"Output", "pcx", {"PCX BPP"}},
      {"Output", "pfm", {"PFM BPP"}},
      {"Output", "pgm", {"PGM BPP"}},
      {"Output", "png", {"PNG BPP", "PNG Compression", "PNG Interlaced"}},
      {"Output", "ppm", {"PPM BPP"}},
      {"Output", "psd", {"PSD BPP"}},
      {"Output", "tga", {"TGA BPP", "TGA Compression"}},
      {"Output", "tiff", {"TIFF BPP", "TIFF Compression", "TIFF Color Model"}},
      {"Output", "wbmp", {"WBMP BPP"}},
      {"Output", "webp", {"WEBP BPP"}},
      {"Output", "xpm", {"XPM BPP"}},
      {"Output", "raw", {}},
      {"Output", "", {}},
  };
  size_t inputKeys = 0, outputKeys = 0;
  for (const auto& c : cases) {
    Keys keys;
    for (const SettingDef* def : FormatOptionSettings(c.group, c.format)) {
      EXPECT_STREQ(def->group, c.group);
      keys.push_back(def->key);
    }
    EXPECT_EQ(keys, c.keys) << c.group << " " << c.format;
    (std::string(c.group) == "Input" ? inputKeys : outputKeys) += keys.size();
  }
  // The list covers every option of both groups ("Format" aside).
  size_t tableInput = 0, tableOutput = 0;
  for (const SettingDef& def : AllSettings()) {
    if (std::string(def.key) == "Format") continue;
    if (std::string(def.group) == "Input") ++tableInput;
    if (std::string(def.group) == "Output") ++tableOutput;
  }
  EXPECT_EQ(inputKeys, tableInput);
  EXPECT_EQ(outputKeys, tableOutput);
}

// Every setting set away from its default survives a save and a load.
TEST_F(ConfigFileTest, RoundTripOverEveryKey) {
  ASSERT_EQ(InputFormats(), std::vector<std::string>{"jpg"});
  ASSERT_EQ(OutputFormats(), std::vector<std::string>{"tga"});
  // The per-format keys the file carries with the current lists.
  const std::set<std::string> offered{"Output/TGA BPP", "Output/TGA Compression"};

  const Settings defaults = DefaultSettings();
  Settings changed = defaults;
  Settings expected = ReadDefaults();
  int i = 0;
  for (const SettingDef& def : AllSettings()) {
    ++i;
    const std::string group = def.group, key = def.key;
    const int64_t d = GetInteger(defaults, def);
    switch (def.type) {
      case SettingType::Flag:
        SetInteger(changed, def, d ^ 1);
        break;
      case SettingType::Int8:
        SetInteger(changed, def, i % 2 ? -(1 + i % 50) : d + 1 + i % 50);
        break;
      case SettingType::Int32:
      case SettingType::Date:
        SetInteger(changed, def, (i % 2 ? -1 : 1) * (100000 + 7 * i));
        break;
      case SettingType::Float:
        SetFloat(changed, def, 2.25f + static_cast<float>(i));
        break;
      default:
        // Inner blanks, tabs, "=", ";", "[" and non-ASCII letters are kept.
        SetText(changed, def, "v" + std::to_string(i) + " \t=;[été]," + key);
        break;
    }
    // "CFG" is always written as 17, and "Save Window Position" must stay 1
    // for the window group to be written (its 0 has a test of its own).
    if (key == "CFG") SetInteger(changed, def, 5);
    if (key == "Save Window Position") SetInteger(changed, def, 1);
    if (key != "Save Window Position" && key != "CFG") {
      ASSERT_NE(Show(changed, def), Show(defaults, def)) << key;
    }

    const bool perFormat = (group == "Input" || group == "Output") && key != "Format";
    if (perFormat && offered.count(group + "/" + key) == 0) continue;  // not written: read default
    if (key == "CFG") {
      SetInteger(expected, def, 17);
    } else if (def.type == SettingType::Float) {
      SetFloat(expected, def, GetFloat(changed, def));
    } else if (IsNumeric(def)) {
      SetInteger(expected, def, GetInteger(changed, def));
    } else {
      SetText(expected, def, GetText(changed, def));
    }
  }
  // The per-format keys not written are still in the record until the save.
  EXPECT_NE(changed.rawLoadAs, 0);
  EXPECT_NE(changed.jpgQuality, 95);

  ASSERT_TRUE(SaveConfig(changed, path));
  const std::string saved = test::ReadFile(path);
  const Settings loaded = LoadPath(path);
  ExpectSameRecord(loaded, expected, "round trip");
  // Saving what was loaded gives the same bytes again.
  EXPECT_EQ(ConfigText(loaded), saved);
  // The same file with LF line ends reads alike.
  std::string lf = saved;
  for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  ASSERT_EQ(lf.find('\r'), std::string::npos);
  ExpectSameRecord(LoadText(lf), expected, "LF line ends");
}

TEST_F(ConfigFileTest, ValueEncodingsOnWriting) {
  Settings s = DefaultSettings();
  const struct {
    float gamma;
    const char* line;
  } floats[] = {
      {1.0f, "Image Gamma = 1.000000"},
      {2.2f, "Image Gamma = 2.200000"},
      {0.01f, "Image Gamma = 0.010000"},
      {-1.5f, "Image Gamma = -1.500000"},
      {1234567.0f, "Image Gamma = 1234567.000000"},
      {std::numeric_limits<float>::infinity(), "Image Gamma = +Infinity"},
      {-std::numeric_limits<float>::infinity(), "Image Gamma = -Infinity"},
  };
  for (const auto& c : floats) {
    s.imageGamma = c.gamma;
    EXPECT_NE(ConfigText(s).find(std::string("\r\n") + c.line + "\r\n"), std::string::npos) << c.line;
    const float back = LoadText(ConfigText(s)).imageGamma;
    if (std::isinf(c.gamma))
      EXPECT_EQ(back, c.gamma);
    else
      EXPECT_FLOAT_EQ(back, c.gamma) << c.line;
  }
  s.imageBrightness = -20;
  s.textPosition = -3;
  s.updateDate = -86400;
  s.recentOutFolders = "/a b/\t/c/";
  const std::string text = ConfigText(s);
  for (const char* line :
       {"Image Brightness = -20", "Text Position = -3", "Update Date = -86400", "Recent Out Folders = /a b/\t/c/"})
    EXPECT_NE(text.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << line;
}

// A value can hold no line break: it would start a line of its own and set
// other keys. It is written as a blank.
TEST_F(ConfigFileTest, LineBreaksInValuesCannotAddLines) {
  Settings s = DefaultSettings();
  s.text = "one\r\n[Output]\r\nJPG Quality = 5\nX";
  const Settings loaded = LoadText(ConfigText(s));
  EXPECT_EQ(loaded.text, "one  [Output]  JPG Quality = 5 X");
  EXPECT_EQ(loaded.jpgQuality, 95);
}

TEST_F(ConfigFileTest, ReadingCases) {
  const struct {
    const char* name;
    std::string file;
    const char* group;
    const char* key;
    std::string value;
  } cases[] = {
      {"lower case, no blanks", "[output]\njpg quality=80\n", "Output", "JPG Quality", "80"},
      {"blanks and tabs", "\t [Output] \r\n \tJPG Quality \t=\t 81 \t\r\n", "Output", "JPG Quality", "81"},
      {"trailing unit", "[Transform]\r\nImage Width = 12px\r\n", "Transform", "Image Width", "12"},
      {"no digits", "[Transform]\r\nImage Width = px\r\n", "Transform", "Image Width", "0"},
      {"no digits, nonzero default", "[Watermark]\r\nText X Offset = px\r\n", "Watermark", "Text X Offset", "0"},
      {"empty number", "[Watermark]\r\nText X Offset =\r\n", "Watermark", "Text X Offset", "0"},
      {"sign", "[Adjustment]\r\nImage Brightness = -20\r\n", "Adjustment", "Image Brightness", "-20"},
      {"plus sign", "[Adjustment]\r\nImage Brightness = +7\r\n", "Adjustment", "Image Brightness", "7"},
      {"no exponent", "[Output]\r\nJPG Quality = 1e2\r\n", "Output", "JPG Quality", "1"},
      {"int8 keeps 8 bits", "[Watermark]\r\nText Position = 260\r\n", "Watermark", "Text Position", "4"},
      {"int8 negative", "[Watermark]\r\nText Position = -1\r\n", "Watermark", "Text Position", "-1"},
      {"flag out of range", "[General]\r\nSave Window Position = 7\r\n", "General", "Save Window Position", "7"},
      {"float", "[Adjustment]\r\nImage Gamma = 2.5\r\n", "Adjustment", "Image Gamma", std::to_string(2.5f)},
      {"float, comma", "[Adjustment]\r\nImage Gamma = 1,5\r\n", "Adjustment", "Image Gamma", std::to_string(1.0f)},
      {"float, no number", "[Adjustment]\r\nImage Gamma = abc\r\n", "Adjustment", "Image Gamma", std::to_string(0.0f)},
      {"+Infinity", "[Adjustment]\r\nImage Gamma = +Infinity\r\n", "Adjustment", "Image Gamma", "inf"},
      {"-Infinity", "[Adjustment]\r\nImage Gamma = -Infinity\r\n", "Adjustment", "Image Gamma", "-inf"},
      {"text trimmed", "[Watermark]\r\nText =  \t Hello  World \t \r\n", "Watermark", "Text", "Hello  World"},
      {"text empty", "[Watermark]\r\nText =\r\n", "Watermark", "Text", ""},
      {"text with =", "[Watermark]\r\nText = a = b\r\n", "Watermark", "Text", "a = b"},
      {"Latin-1 without mark", "[Watermark]\r\nText = caf\xE9\r\n", "Watermark", "Text", "caf\xC3\xA9"},
      {"UTF-8 with mark", "\xEF\xBB\xBF\r\n[Watermark]\r\nText = caf\xC3\xA9\r\n", "Watermark", "Text", "caf\xC3\xA9"},
      {"UTF-8 key case", "\xEF\xBB\xBF[WATERMARK]\r\nTEXT = x\r\n", "Watermark", "Text", "x"},
      {"tab list", "[File]\r\nRecent Out Folders = /a/\t/b/\r\n", "File", "Recent Out Folders", "/a/\t/b/"},
      {"key in another group", "[General]\r\nJPG Quality = 5\r\n", "Output", "JPG Quality", "95"},
      {"key before any group", "JPG Quality = 5\r\n[Output]\r\n", "Output", "JPG Quality", "95"},
      {"first of two", "[Output]\r\nJPG Quality = 5\r\njpg quality = 6\r\n", "Output", "JPG Quality", "5"},
      {"same key, two groups", "[Transform]\r\nImage Rotation = 90\r\n[Watermark]\r\nImage Rotation = 45\r\n",
       "Watermark", "Image Rotation", "45"},
      {"commented out", "[Output]\r\n; JPG Quality = 5\r\n", "Output", "JPG Quality", "95"},
      {"not offered, still read", "[Input]\r\nRAW Tone Mapping = 4\r\n", "Input", "RAW Tone Mapping", "4"},
      {"Output Format", "[Output]\r\nFormat = png\r\n", "Output", "Format", "png"},
      {"Input Format default", "[Input]\r\n", "Input", "Format", "jpg"},
  };
  for (const auto& c : cases) {
    const Settings s = LoadText(c.file);
    EXPECT_EQ(Show(s, c.group, c.key), c.value) << c.name;
    // Everything else reads its default.
    Settings expected = ReadDefaults();
    const SettingDef& def = SettingOf(c.group, c.key);
    if (def.type == SettingType::Float)
      SetFloat(expected, def, GetFloat(s, def));
    else if (IsNumeric(def))
      SetInteger(expected, def, GetInteger(s, def));
    else
      SetText(expected, def, GetText(s, def));
    if (std::string(c.name) == "same key, two groups") expected.imageRotation = 90;
    ExpectSameRecord(s, expected, c.name);
  }
}

TEST_F(ConfigFileTest, UpgradesOfOlderLayouts) {
  const struct {
    const char* file;
    const char* mask;
    int rawLoadAs;
  } cases[] = {
      {"[Advanced]\r\nFilename Mask = %filename%\r\n[Input]\r\nRAW Load As = 1\r\n", "%filename%.%ext%", 3},
      {"[General]\r\nCFG = 17\r\n[Advanced]\r\nFilename Mask = %filename%\r\n[Input]\r\nRAW Load As = 1\r\n",
       "%filename%", 1},
      {"[General]\r\nCFG = 10\r\n[Advanced]\r\nFilename Mask = x_%ext%\r\n[Input]\r\nRAW Load As = 0\r\n", "x_%ext%",
       0},
      {"[General]\r\nCFG = 10\r\n[Advanced]\r\nFilename Mask = %FILENAME%.%EXT%\r\n", "%FILENAME%.%EXT%", 0},
      {"[General]\r\nCFG = 11\r\n[Advanced]\r\nFilename Mask = a\r\n[Input]\r\nRAW Load As = 2\r\n", "a", 4},
      {"[General]\r\nCFG = 13\r\n[Input]\r\nRAW Load As = -1\r\n", "%filename%.%ext%", 1},
      {"[General]\r\nCFG = 14\r\n[Input]\r\nRAW Load As = 1\r\n", "%filename%.%ext%", 1},
      {"[General]\r\nCFG = abc\r\n[Advanced]\r\nFilename Mask =\r\n", ".%ext%", 0},
      {"[Advanced]\r\nFilename Mask = %filename%\r\n", "%filename%.%ext%", 0},
  };
  for (const auto& c : cases) {
    const Settings s = LoadText(c.file);
    EXPECT_EQ(s.filenameMask, c.mask) << c.file;
    EXPECT_EQ(s.rawLoadAs, c.rawLoadAs) << c.file;
  }
}

TEST_F(ConfigFileTest, MissingEmptyAndFolder) {
  bool opened = true;
  // No file: the defaults, the window centred.
  ExpectSameRecord(LoadPath(dir / "missing.ini", &opened), DefaultSettings(), "missing");
  EXPECT_FALSE(opened);
  ExpectSameRecord(LoadPath(dir.path(), &opened), DefaultSettings(), "folder");
  EXPECT_FALSE(opened);
  // An existing but empty file: the read defaults, the window at 100, 100.
  const Settings empty = LoadText("", &opened);
  EXPECT_TRUE(opened);
  ExpectSameRecord(empty, ReadDefaults(), "empty");
  EXPECT_EQ(empty.x, 100);
  EXPECT_EQ(empty.y, 100);
  EXPECT_EQ(empty.width, 510);
  EXPECT_EQ(empty.height, 260);
  EXPECT_EQ(empty.updateDate, kNow);
  EXPECT_EQ(empty.customTimestamp, kNow);
  EXPECT_EQ(empty.keepAspectRatio, 1);
  ExpectSameRecord(LoadText("\xEF\xBB\xBF\r\n"), ReadDefaults(), "only the mark");
}

TEST_F(ConfigFileTest, WindowGroupFollowsSaveWindowPosition) {
  Settings s = DefaultSettings();
  s.saveWindowPosition = 0;
  s.isMaximized = 1;
  s.x = 5;
  s.y = 6;
  s.width = 700;
  s.height = 500;
  ASSERT_TRUE(SaveConfig(s, path));
  const std::string text = test::ReadFile(path);
  EXPECT_NE(text.find("\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"), std::string::npos);
  const Settings loaded = LoadPath(path);
  EXPECT_EQ(loaded.saveWindowPosition, 0);
  EXPECT_EQ(loaded.isMaximized, 0);
  EXPECT_EQ(loaded.x, 100);
  EXPECT_EQ(loaded.y, 100);
  EXPECT_EQ(loaded.width, 510);
  EXPECT_EQ(loaded.height, 260);
}

TEST_F(ConfigFileTest, ExitSteps) {
  const WindowPlacement normal{false, false, 11, 12, 800, 600};
  const WindowPlacement maximised{true, false, 0, 0, 1920, 1080};
  const WindowPlacement minimised{false, true, -32000, -32000, 160, 28};
  const WindowPlacement both{true, true, -32000, -32000, 160, 28};
  const struct {
    WindowPlacement window;
    int isMaximized, x, y, width, height;
  } cases[] = {
      {normal, 0, 11, 12, 800, 600},
      {maximised, 1, 1, 2, 3, 4},
      {minimised, 1, 1, 2, 3, 4},
      {both, 1, 1, 2, 3, 4},  // minimised from maximised: stays maximised
  };
  for (const auto& c : cases) {
    Settings s = DefaultSettings();
    s.isMaximized = 1;
    s.x = 1;
    s.y = 2;
    s.width = 3;
    s.height = 4;
    s.recentOutFolders = "/a/\t/b/";
    ApplyExitSteps(s, c.window);
    EXPECT_EQ(s.isMaximized, c.isMaximized);
    EXPECT_EQ(s.x, c.x);
    EXPECT_EQ(s.y, c.y);
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.height);
    EXPECT_EQ(s.recentOutFolders, "/a/\t/b/");
  }
  Settings s = DefaultSettings();
  s.recentOutFolders = "/a/\t/b/";
  s.outFoldersHistory = 0;
  ApplyExitSteps(s, normal);
  EXPECT_EQ(s.recentOutFolders, "");
}

// A file saved while the window is minimised keeps the window
// placement of the previous save.
TEST_F(ConfigFileTest, MinimisedExitKeepsThePreviousPlacement) {
  Settings s = DefaultSettings();
  ApplyExitSteps(s, {false, false, 40, 50, 900, 700});
  ASSERT_TRUE(SaveConfig(s, path));
  Settings next = LoadPath(path);
  ApplyExitSteps(next, {false, true, -32000, -32000, 160, 28});
  ASSERT_TRUE(SaveConfig(next, path));
  const Settings last = LoadPath(path);
  EXPECT_EQ(last.isMaximized, 0);
  EXPECT_EQ(last.x, 40);
  EXPECT_EQ(last.y, 50);
  EXPECT_EQ(last.width, 900);
  EXPECT_EQ(last.height, 700);
}

TEST_F(ConfigFileTest, FailedSaveLeavesTheOldFileWhole) {
  Settings s = DefaultSettings();
  s.jpgQuality = 42;
  ASSERT_TRUE(SaveConfig(s, path));
  const std::string before = test::ReadFile(path);
  s.text = "new text";
  for (WriteHook hook : {&FailingWrite, &ShortThenFailingWrite}) {
    WriteHookGuard guard(hook);
    EXPECT_FALSE(SaveConfig(s, path));
  }
  EXPECT_EQ(test::ReadFile(path), before);
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"config.ini"});  // no temporary file left
  // A folder that does not exist: nothing is written, nothing reported.
  EXPECT_FALSE(SaveConfig(s, dir / "missing/config.ini"));
  EXPECT_FALSE(test::Exists(dir / "missing"));
  // A save that works replaces the file whole.
  ASSERT_TRUE(SaveConfig(s, path));
  EXPECT_EQ(test::ReadFile(path), ConfigText(s));
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"config.ini"});
}

// Garbage, cut files, huge files and huge lines load without harm; what
// they do not carry reads its default.
TEST_F(ConfigFileTest, MalformedFilesLoadAsDefaults) {
  uint32_t seed = 12345;
  const auto random = [&](size_t n) {
    std::string bytes;
    for (size_t i = 0; i < n; ++i) {
      seed = seed * 1103515245u + 12345u;
      bytes += static_cast<char>(seed >> 16);
    }
    return bytes;
  };
  const std::string garbage = random(64 << 10);
  ExpectSameRecord(LoadText(garbage), ReadDefaults(), "garbage");
  ExpectSameRecord(LoadText("\xEF\xBB\xBF" + garbage), ReadDefaults(), "garbage after the mark");
  std::string nuls(4096, '\0');
  ExpectSameRecord(LoadText(nuls), ReadDefaults(), "zero bytes");

  // Garbage around good lines: the good lines still read.
  const std::string good = "\r\n[Output]\r\nJPG Quality = 80\r\n";
  EXPECT_EQ(LoadText(garbage + good + garbage).jpgQuality, 80);

  // Overlong lines: a long value is kept, a long line of no use is passed.
  const std::string longText(1 << 20, 'x');
  const Settings longValue = LoadText("[Watermark]\r\nText = " + longText + "\r\nFont Size = 20\r\n");
  EXPECT_EQ(longValue.text, longText);
  EXPECT_EQ(longValue.fontSize, 20);
  const Settings longJunk =
      LoadText("[Output]\r\n" + std::string(2 << 20, '#') + "\r\nJPG Quality = 70\r\n[" + std::string(1 << 20, 'G'));
  EXPECT_EQ(longJunk.jpgQuality, 70);
  EXPECT_EQ(longJunk.x, 100);
  const Settings longNumber = LoadText("[Output]\r\nJPG Quality = " + std::string(100000, '9') + "\r\n");
  (void)longNumber;  // wraps; only must not crash

  // Odd headers and lines.
  for (const char* odd : {"[", "]", "[]", "[Output", "=", "==", "[Output]\r\n=80", "[Output]\r\nJPG Quality",
                          "\xEF\xBB", "\xEF\xBB\xBF\xFF\xFE[Output]\r\n", "\r\r\r\n\n\n", "[Output]]\r\n"}) {
    const Settings s = LoadText(odd);
    EXPECT_EQ(s.jpgQuality, 95) << odd;
  }
}

// A file cut anywhere keeps every line it holds whole.
TEST_F(ConfigFileTest, TruncatedFiles) {
  Settings full = DefaultSettings();
  full.jpgQuality = 80;
  full.tgaCompression = 1;
  full.text = "a longer watermark text";
  full.imageGamma = 2.5f;
  full.fontSize = 31;
  full.cleanRecentFiles = 1;
  full.x = 3;
  const std::string text = ConfigText(full);
  // Where each written line ends, in the full text.
  std::vector<std::pair<const SettingDef*, size_t>> lineEnds;
  for (const SettingDef& def : AllSettings()) {
    const size_t header = text.find(std::string("\r\n[") + def.group + "]\r\n");
    ASSERT_NE(header, std::string::npos);
    const size_t line = text.find(std::string("\r\n") + def.key + " = ", header + 1);
    const size_t nextHeader = text.find("\r\n[", header + 1);
    if (line == std::string::npos || line > nextHeader) continue;  // not written
    lineEnds.push_back({&def, text.find("\r\n", line + 2) + 2});
  }
  ASSERT_EQ(lineEnds.size(), 91u);  // every line the defaults write
  for (size_t cut = 0; cut <= text.size(); cut += 13) {
    const Settings s = LoadText(text.substr(0, cut));
    for (const auto& [def, end] : lineEnds) {
      // "CFG" reads 0 until its line is whole, so an early cut upgrades.
      if (std::string(def->key) == "Filename Mask" || std::string(def->key) == "RAW Load As") continue;
      if (end <= cut) {
        EXPECT_EQ(Show(s, *def), Show(full, *def)) << "cut " << cut << ": " << def->key;
      }
    }
  }
}

// The reader takes at most 16 MiB; what lies beyond reads as absent.
TEST_F(ConfigFileTest, EnormousFile) {
  std::string big = "[Output]\r\nJPG Quality = 80\r\n";
  const std::string filler = "; " + std::string(1021, '-') + "\r\n";
  while (big.size() < IniFile::kMaxBytes + (1u << 20)) big += filler;
  big += "[Frame]\r\nSolid Left = 9\r\n";
  const Settings s = LoadText(big);
  EXPECT_EQ(s.jpgQuality, 80);
  EXPECT_EQ(s.solidLeft, 0);
  EXPECT_EQ(s.x, 100);
}

class ConfigPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Remember("XDG_CONFIG_HOME", xdg_);
    Remember("HOME", home_);
  }
  void TearDown() override {
    Restore("XDG_CONFIG_HOME", xdg_);
    Restore("HOME", home_);
  }
  static void Remember(const char* name, std::optional<std::string>& slot) {
    const char* v = std::getenv(name);
    if (v != nullptr) slot = v;
  }
  static void Restore(const char* name, const std::optional<std::string>& slot) {
    if (slot)
      setenv(name, slot->c_str(), 1);
    else
      unsetenv(name);
  }
  std::optional<std::string> xdg_, home_;
  test::TempDir dir;
};

TEST_F(ConfigPathTest, XdgConfigHomeTrimmed) {
  const struct { std::string value; } cases[] = {{dir / "cfg"}, {"  " + dir / "cfg2/  "}};
  ASSERT_TRUE(MakeFolder(dir / "cfg"));
  ASSERT_TRUE(MakeFolder(dir / "cfg2"));
  for (const auto& c : cases) {
    setenv("XDG_CONFIG_HOME", c.value.c_str(), 1);
    const std::string base = TrimBlanks(c.value);
    const std::string folder = (EndsWith(base, "/") ? base : base + "/") + "Lumacraft/tarnwick/";
    EXPECT_EQ(ConfigPath(), folder + "config.ini");
    EXPECT_TRUE(IsFolder(folder)) << folder;
  }
  // A second call finds the folders there.
  setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
  EXPECT_EQ(ConfigPath(), dir / "cfg/Lumacraft/tarnwick/config.ini");
}

TEST_F(ConfigPathTest, HomeConfigWhenXdgIsUnsetOrBlank) {
  setenv("HOME", (dir / "home").c_str(), 1);
  ASSERT_TRUE(MakeFolder(dir / "home"));
  ASSERT_TRUE(MakeFolder(dir / "home/.config"));
  ASSERT_TRUE(MakeFolder(dir / "home/.config/Lumacraft"));  // one of the two there already
  for (const char* xdg : {static_cast<const char*>(nullptr), "", "   "}) {
    if (xdg == nullptr)
      unsetenv("XDG_CONFIG_HOME");
    else
      setenv("XDG_CONFIG_HOME", xdg, 1);
    EXPECT_EQ(ConfigPath(), dir / "home/.config/Lumacraft/tarnwick/config.ini");
    EXPECT_TRUE(IsFolder(dir / "home/.config/Lumacraft/tarnwick"));
  }
}

TEST_F(ConfigPathTest, FolderThatCannotBeMadeIsSilent) {
  test::WriteFile(dir / "file", "not a folder");
  setenv("XDG_CONFIG_HOME", (dir / "file").c_str(), 1);
  const std::string path = ConfigPath();
  EXPECT_EQ(path, dir / "file/Lumacraft/tarnwick/config.ini");
  Settings s;
  EXPECT_FALSE(LoadConfig(s, path, kDesktop, kNow));
  ExpectSameRecord(s, DefaultSettings(), "no folder");
  EXPECT_FALSE(SaveConfig(s, path));
  EXPECT_EQ(test::ReadFile(dir / "file"), "not a folder");
}

}  // namespace
}  // namespace tarnwick
