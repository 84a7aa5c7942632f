#include "cli/options.h"

#include "config/ini.h"
#include "core/keywords.h"
#include "core/text.h"

namespace tarnwick {
namespace {

enum class Kind { Integer, Decimal, Keyword, Text, Switch };

struct AlsoSets {
  const char* group = nullptr;
  const char* key = nullptr;
  int value = 0;
};

// The options that store a setting, in matching order. A keyword option
// reads the keyword table that the setting declares. A switch stores
// `value`.
struct OptionDef {
  const char* name;
  Kind kind;
  const char* group;
  const char* key;
  int value = 1;
  AlsoSets also{};
};

constexpr AlsoSets kRotate{"Transform", "Do Image Rotation", 1};
constexpr AlsoSets kResize{"Transform", "Do Image Resize", 1};
constexpr AlsoSets kCorrect{"Adjustment", "Do Image Color Correction", 1};
constexpr AlsoSets kFrame{"Frame", "Do Frame", 1};
constexpr AlsoSets kTextMark{"Watermark", "Do Watermark", 1};
constexpr AlsoSets kImageMark{"Watermark", "Do Watermark", 2};

const OptionDef kOptions[] = {
    {"--DDS-LOAD-AS", Kind::Keyword, "Input", "DDS Load As"},
    {"--GIF-FRAME-LOADING", Kind::Keyword, "Input", "GIF Frame Loading"},
    {"--ICO-FRAME-LOADING", Kind::Keyword, "Input", "ICO Frame Loading"},
    {"--RAW-LOAD-AS", Kind::Keyword, "Input", "RAW Load As"},
    {"--RAW-HEADER-SIZE", Kind::Integer, "Input", "RAW Header Size"},
    {"--RAW-WIDTH", Kind::Integer, "Input", "RAW Image Width"},
    {"--RAW-HEIGHT", Kind::Integer, "Input", "RAW Image Height"},
    {"--RAW-TONE-MAPPING", Kind::Keyword, "Input", "RAW Tone Mapping"},
    {"--TIFF-FRAME-LOADING", Kind::Keyword, "Input", "TIFF Frame Loading"},
    {"--BMP-BPP", Kind::Integer, "Output", "BMP BPP"},
    {"--BMP-COMPRESSION", Kind::Keyword, "Output", "BMP Compression"},
    {"--BMP-COLOR-TABLE", Kind::Keyword, "Output", "BMP Color Table"},
    {"--DDS-BPP", Kind::Integer, "Output", "DDS BPP"},
    {"--EXR-BPP", Kind::Integer, "Output", "EXR BPP"},
    {"--EXR-COMPRESSION", Kind::Keyword, "Output", "EXR Compression"},
    {"--GIF-BPP", Kind::Integer, "Output", "GIF BPP"},
    {"--HDR-BPP", Kind::Integer, "Output", "HDR BPP"},
    {"--ICO-BPP", Kind::Integer, "Output", "ICO BPP"},
    {"--J2K-BPP", Kind::Integer, "Output", "J2K BPP"},
    {"--JNG-BPP", Kind::Integer, "Output", "JNG BPP"},
    {"--JP2-BPP", Kind::Integer, "Output", "JP2 BPP"},
    {"--JPG-BPP", Kind::Integer, "Output", "JPG BPP"},
    {"--JPG-QUALITY", Kind::Integer, "Output", "JPG Quality"},
    {"--JPG-CHROMA", Kind::Keyword, "Output", "JPG Chroma"},
    {"--JPG-SAVE-AS", Kind::Keyword, "Output", "JPG Save As"},
    {"--JXR-BPP", Kind::Integer, "Output", "JXR BPP"},
    {"--PBM-BPP", Kind::Integer, "Output", "PBM BPP"},
    {"--PCX-BPP", Kind::Integer, "Output", "PCX BPP"},
    {"--PFM-BPP", Kind::Integer, "Output", "PFM BPP"},
    {"--PGM-BPP", Kind::Integer, "Output", "PGM BPP"},
    {"--PNG-BPP", Kind::Integer, "Output", "PNG BPP"},
    {"--PNG-COMPRESSION", Kind::Keyword, "Output", "PNG Compression"},
    {"--PNG-INTERLACED", Kind::Switch, "Output", "PNG Interlaced"},
    {"--PPM-BPP", Kind::Integer, "Output", "PPM BPP"},
    {"--PSD-BPP", Kind::Integer, "Output", "PSD BPP"},
    {"--TGA-BPP", Kind::Integer, "Output", "TGA BPP"},
    {"--TGA-COMPRESSION", Kind::Keyword, "Output", "TGA Compression"},
    {"--TIFF-BPP", Kind::Integer, "Output", "TIFF BPP"},
    {"--TIFF-COMPRESSION", Kind::Keyword, "Output", "TIFF Compression"},
    {"--TIFF-COLOR-MODEL", Kind::Keyword, "Output", "TIFF Color Model"},
    {"--WBMP-BPP", Kind::Integer, "Output", "WBMP BPP"},
    {"--WEBP-BPP", Kind::Integer, "Output", "WEBP BPP"},
    {"--XPM-BPP", Kind::Integer, "Output", "XPM BPP"},
    {"--ROTATION-TYPE", Kind::Keyword, "Transform", "Image Rotation Type"},
    {"--ROTATION", Kind::Integer, "Transform", "Image Rotation", 1, kRotate},
    {"--ROTATION-BACK-COLOR", Kind::Text, "Transform", "Image Rotation Back Color"},
    {"--WIDTH", Kind::Integer, "Transform", "Image Width", 1, kResize},
    {"--WIDTH-UNIT", Kind::Keyword, "Transform", "Image Width Unit"},
    {"--HEIGHT", Kind::Integer, "Transform", "Image Height", 1, kResize},
    {"--HEIGHT-UNIT", Kind::Keyword, "Transform", "Image Height Unit"},
    {"--KEEP-ASPECT-RATIO", Kind::Switch, "Transform", "Keep Aspect Ratio"},
    {"--RESIZE-TYPE", Kind::Keyword, "Transform", "Image Resize Type"},
    {"--RESIZE-ALGORITHM", Kind::Keyword, "Transform", "Image Resize Algorithm"},
    {"--FLIP-HORIZONTAL", Kind::Switch, "Transform", "Do Image Flip Horizontal"},
    {"--FLIP-VERTICAL", Kind::Switch, "Transform", "Do Image Flip Vertical"},
    {"--BRIGHTNESS", Kind::Integer, "Adjustment", "Image Brightness", 1, kCorrect},
    {"--CONTRAST", Kind::Integer, "Adjustment", "Image Contrast", 1, kCorrect},
    {"--GAMMA", Kind::Decimal, "Adjustment", "Image Gamma", 1, kCorrect},
    {"--INVERT", Kind::Switch, "Adjustment", "Image Invert", 1, kCorrect},
    {"--GREYSCALE", Kind::Switch, "Adjustment", "Do Image Greyscale"},
    {"--THRESHOLD", Kind::Integer, "Adjustment", "Image Threshold", 1, {"Adjustment", "Do Image Threshold", 1}},
    {"--FR-SOLID-LEFT", Kind::Integer, "Frame", "Solid Left", 1, kFrame},
    {"--FR-SOLID-RIGHT", Kind::Integer, "Frame", "Solid Right", 1, kFrame},
    {"--FR-SOLID-TOP", Kind::Integer, "Frame", "Solid Top", 1, kFrame},
    {"--FR-SOLID-BOTTOM", Kind::Integer, "Frame", "Solid Bottom", 1, kFrame},
    {"--FR-SOLID-LEFT-COLOR", Kind::Text, "Frame", "Solid Left Color"},
    {"--FR-SOLID-RIGHT-COLOR", Kind::Text, "Frame", "Solid Right Color"},
    {"--FR-SOLID-TOP-COLOR", Kind::Text, "Frame", "Solid Top Color"},
    {"--FR-SOLID-BOTTOM-COLOR", Kind::Text, "Frame", "Solid Bottom Color"},
    {"--FR-SOLID-OPACITY", Kind::Integer, "Frame", "Solid Opacity"},
    {"--WM-TEXT", Kind::Text, "Watermark", "Text", 1, kTextMark},
    {"--WM-FONT", Kind::Text, "Watermark", "Font"},
    {"--WM-FONT-SIZE", Kind::Integer, "Watermark", "Font Size"},
    {"--WM-FONT-LEADING", Kind::Integer, "Watermark", "Font Leading"},
    {"--WM-FONT-COLOR", Kind::Text, "Watermark", "Font Color"},
    {"--WM-FONT-STYLE", Kind::Keyword, "Watermark", "Font Style"},
    {"--WM-FONT-EFFECT", Kind::Keyword, "Watermark", "Font Effect"},
    {"--WM-TEXT-ANTIALIASING", Kind::Switch, "Watermark", "Text Antialiasing"},
    {"--WM-TEXT-ALIGNMENT", Kind::Keyword, "Watermark", "Text Alignment"},
    {"--WM-TEXT-PADDING", Kind::Integer, "Watermark", "Text Padding"},
    {"--WM-TEXT-OPACITY", Kind::Integer, "Watermark", "Text Opacity"},
    {"--WM-BACK-COLOR", Kind::Text, "Watermark", "Back Color"},
    {"--WM-BACK-OPACITY", Kind::Integer, "Watermark", "Back Opacity"},
    {"--WM-TEXT-BOUNDARY", Kind::Keyword, "Watermark", "Text Boundary"},
    {"--WM-TEXT-POSITION", Kind::Keyword, "Watermark", "Text Position"},
    {"--WM-TEXT-X-OFFSET", Kind::Integer, "Watermark", "Text X Offset"},
    {"--WM-TEXT-Y-OFFSET", Kind::Integer, "Watermark", "Text Y Offset"},
    {"--WM-TEXT-ROTATION", Kind::Integer, "Watermark", "Text Rotation"},
    {"--WM-TEXT-SIZE", Kind::Keyword, "Watermark", "Text Size"},
    {"--WM-IMAGE", Kind::Text, "Watermark", "Image", 1, kImageMark},
    {"--WM-IMAGE-GREYSCALE", Kind::Switch, "Watermark", "Image Greyscale"},
    {"--WM-IMAGE-OPACITY", Kind::Integer, "Watermark", "Image Opacity"},
    {"--WM-IMAGE-BOUNDARY", Kind::Keyword, "Watermark", "Image Boundary"},
    {"--WM-IMAGE-POSITION", Kind::Keyword, "Watermark", "Image Position"},
    {"--WM-IMAGE-X-OFFSET", Kind::Integer, "Watermark", "Image X Offset"},
    {"--WM-IMAGE-Y-OFFSET", Kind::Integer, "Watermark", "Image Y Offset"},
    {"--WM-IMAGE-ROTATION", Kind::Integer, "Watermark", "Image Rotation"},
    {"--WM-IMAGE-SIZE", Kind::Keyword, "Watermark", "Image Size"},
    {"--FILENAME-MASK", Kind::Text, "Advanced", "Filename Mask"},
    {"--FILE-TIMESTAMP", Kind::Keyword, "Advanced", "File Timestamp"},
    {"--FILE-TIMESTAMP-CUSTOM", Kind::Integer, "Advanced", "Custom Timestamp"},
    {"--NO-SUBFOLDERS", Kind::Switch, "Advanced", "Keep Subfolders", 0},
};

// A profile names the frame opacity by another key.
constexpr const char* kProfileOpacityKey = "--WM-SOLID-OPACITY";

const OptionDef* FindOption(const std::string& name) {
  for (const OptionDef& opt : kOptions)
    if (name == opt.name) return &opt;
  return nullptr;
}

const OptionDef* FindProfileOption(const std::string& name) {
  if (name == kProfileOpacityKey) return FindOption("--FR-SOLID-OPACITY");
  if (name == "--FR-SOLID-OPACITY") return nullptr;
  return FindOption(name);
}

void Store(const OptionDef& opt, const std::string& value, Settings& s) {
  const SettingDef& def = SettingOf(opt.group, opt.key);
  switch (opt.kind) {
    case Kind::Integer: SetInteger(s, def, ParseNumber(value)); break;
    case Kind::Decimal: SetFloat(s, def, ParseDecimal(value)); break;
    case Kind::Keyword: SetInteger(s, def, KeywordToCode(def.keywordTable, TrimBlanks(value))); break;
    case Kind::Text: SetText(s, def, value); break;
    case Kind::Switch: SetInteger(s, def, opt.value); break;
  }
  if (opt.also.group != nullptr) SetInteger(s, SettingOf(opt.also.group, opt.also.key), opt.also.value);
}

std::string StripQuotes(std::string value) {
  size_t b = 0, e = value.size();
  while (b < e && value[b] == '"') ++b;
  while (e > b && value[e - 1] == '"') --e;
  return value.substr(b, e - b);
}

// A value that starts with a double quote takes the following parameters
// until one ends with a double quote; then the quotes at both ends go.
std::string JoinQuoted(std::string value, const std::vector<std::string>& params, size_t& i) {
  if (StartsWith(value, "\"") && !EndsWith(value, "\"")) {
    while (i + 1 < params.size()) {
      ++i;
      const std::string part = OptionValue(params[i]);
      value += ' ';
      value += part;
      if (EndsWith(part, "\"")) break;
    }
  }
  return StripQuotes(std::move(value));
}

constexpr const char* kParamError = "Incorrect number of parameters";

}  // namespace

std::string OptionName(const std::string& param) {
  const std::string p = TrimBlanks(param);
  if (!StartsWith(p, "-")) return {};
  if (StartsWith(p, "--")) return ToUpper(p.substr(0, p.find('=')));
  return ToUpper(p);
}

std::string OptionValue(const std::string& param) {
  const std::string p = TrimBlanks(param);
  if (StartsWith(p, "--")) {
    const size_t eq = p.find('=', 2);
    if (eq != std::string::npos) return p.substr(eq + 1);
  }
  return p;
}

void ParseParameters(CommandLine& cl, Settings& s, RunContext& run, WorkingState& state) {
  const std::vector<std::string>& params = cl.params;
  for (size_t i = 0; i < params.size(); ++i) {
    const std::string name = OptionName(params[i]);
    if (name.empty()) continue;

    // Run options: a short form takes the next parameter as its value.
    const bool isInput = name == "-I" || name == "--INPUT";
    const bool isOutput = name == "-O" || name == "--OUTPUT";
    const bool isConversion = name == "-C" || name == "--CONVERSION";
    if (isInput || isOutput || isConversion) {
      if (isInput) run.consoleMode = true;
      std::string value;
      if (StartsWith(name, "--")) {
        value = OptionValue(params[i]);
      } else {
        value = i + 1 < params.size() ? OptionValue(params[i + 1]) : std::string();
        ++i;
      }
      if (value.empty() || StartsWith(value, "-")) {
        cl.error = kParamError;
        return;
      }
      if (isConversion) run.outputExtension = StripQuotes(value);
      else if (isInput) state.commandLineInput = JoinQuoted(value, params, i);
      else run.outputFolder = JoinQuoted(value, params, i);
      continue;
    }

    if (const OptionDef* opt = FindOption(name)) {
      std::string value;
      if (opt->kind != Kind::Switch) {
        value = OptionValue(params[i]);
        if (value.empty() || StartsWith(value, "--")) {
          cl.error = kParamError;
          return;
        }
        if (opt->kind == Kind::Text) value = JoinQuoted(value, params, i);
      }
      Store(*opt, value, s);
      continue;
    }

    if (name == "--PROFILE") {
      std::string value = OptionValue(params[i]);
      if (value.empty() || StartsWith(value, "--")) {
        cl.error = kParamError;
        return;
      }
      if (!ReadProfile(JoinQuoted(value, params, i), s)) {
        cl.error = "Invalid profile file";
        return;
      }
    } else if (name == "-D" || name == "--DEBUG") {
      run.runMode = "DEBUG";
    } else if (name == "-Q" || name == "--QUIET") {
      cl.quiet = true;
    } else if (name == "-P" || name == "--PAUSE") {
      cl.pause = true;
    }
  }
}

bool ReadProfile(const std::string& path, Settings& s) {
  if (path.empty()) return false;
  const std::optional<IniFile> ini = IniFile::Load(path);
  if (!ini) return false;
  const IniFile::Group* group = ini->FindGroup("CLI");
  if (group == nullptr) return true;
  for (const auto& [key, value] : group->entries) {
    const OptionDef* opt = FindProfileOption(ToUpper(key));
    if (opt == nullptr) continue;
    Store(*opt, std::string(opt->key) == "Filename Mask" ? StripQuotes(value) : value, s);
  }
  return true;
}

}  // namespace tarnwick
