#include "core/settings.h"

#include <array>

#include "core/formats.h"
#include "core/messages.h"
#include "core/text.h"

namespace tarnwick {
namespace {

const SettingDef kSettings[] = {
#define TARNWICK_ROW(group, member, key, kind, def, table) \
  {#group, key, SettingType::kind, SettingField(&Settings::member), SettingDefault(def), table},
    TARNWICK_SETTINGS(TARNWICK_ROW)
#undef TARNWICK_ROW
};

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::span<const SettingDef> AllSettings() { return kSettings; }

const SettingDef* FindSetting(std::string_view group, std::string_view key) {
  for (const SettingDef& def : kSettings)
    if (EqualNoCase(def.key, key) && EqualNoCase(def.group, group)) return &def;
  return nullptr;
}

const SettingDef& SettingOf(std::string_view group, std::string_view key) {
  const SettingDef* def = FindSetting(group, key);
  if (def == nullptr) std::abort();  // a misspelt key in the program itself
  return *def;
}

bool IsNumeric(const SettingDef& def) {
  return def.type == SettingType::Flag || def.type == SettingType::Int8 || def.type == SettingType::Int32 ||
         def.type == SettingType::Date;
}

int64_t GetInteger(const Settings& s, const SettingDef& def) {
  if (auto p = std::get_if<int8_t Settings::*>(&def.field)) return s.**p;
  if (auto p = std::get_if<int32_t Settings::*>(&def.field)) return s.**p;
  if (auto p = std::get_if<float Settings::*>(&def.field)) return static_cast<int64_t>(s.**p);
  return 0;
}

void SetInteger(Settings& s, const SettingDef& def, int64_t value) {
  if (auto p8 = std::get_if<int8_t Settings::*>(&def.field)) s.**p8 = static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
  else if (auto p32 = std::get_if<int32_t Settings::*>(&def.field)) s.**p32 = static_cast<int32_t>(static_cast<uint32_t>(value));
  else if (auto pf = std::get_if<float Settings::*>(&def.field)) s.**pf = static_cast<float>(value);
}

float GetFloat(const Settings& s, const SettingDef& def) {
  if (auto p = std::get_if<float Settings::*>(&def.field)) return s.**p;
  return static_cast<float>(GetInteger(s, def));
}

void SetFloat(Settings& s, const SettingDef& def, float value) {
  if (auto p = std::get_if<float Settings::*>(&def.field)) s.**p = value;
}

const std::string& GetText(const Settings& s, const SettingDef& def) {
  static const std::string kEmpty;
  if (auto p = std::get_if<std::string Settings::*>(&def.field)) return s.**p;
  return kEmpty;
}

void SetText(Settings& s, const SettingDef& def, std::string value) {
  if (auto p = std::get_if<std::string Settings::*>(&def.field)) s.**p = std::move(value);
}

void Defaults(Settings& s, bool consoleFace, DesktopSize desktop, int32_t now) {
  for (const SettingDef& def : kSettings) {
    if (def.def.text != nullptr) SetText(s, def, def.def.text);
    else if (def.type == SettingType::Float) SetFloat(s, def, static_cast<float>(def.def.number));
    else SetInteger(s, def, static_cast<int64_t>(def.def.number));
  }
  s.cfg = 17;
  s.updateDate = now;
  s.customTimestamp = now;
  s.inputFormat = InputFormats().front();
  s.outputFormat = OutputFormats().front();
  s.keepAspectRatio = consoleFace ? 0 : 1;
  s.x = 510 < desktop.width ? (desktop.width - 510) / 2 : 100;
  s.y = 260 < desktop.height ? (desktop.height - 260) / 2 : 100;
}

std::string ColourName(std::string_view colour) {
  struct Named {
    const char* key;
    const char* rgb;
  };
  static constexpr std::array<Named, 19> kNamed{{
      {"Black", "000000"}, {"Silver", "C0C0C0"}, {"Gray", "808080"},    {"White", "FFFFFF"}, {"Maroon", "800000"},
      {"Red", "FF0000"},   {"Purple", "800080"}, {"Fuchsia", "FF00FF"}, {"Green", "008000"}, {"Lime", "00FF00"},
      {"Olive", "808000"}, {"Yellow", "FFFF00"}, {"Navy", "000080"},    {"Blue", "0000FF"},  {"Teal", "008080"},
      {"Aqua", "00FFFF"},  {"Orange", "FF8000"}, {"Brown", "804000"},   {"Violet", "8000FF"},
  }};
  const std::string upper = ToUpper(colour);
  for (const Named& n : kNamed)
    if (upper == n.rgb) return Lookup("Preferences", n.key);
  return Lookup("Preferences", "Color") + " #" + upper;
}

Rgb ParseColour(std::string_view colour) {
  if (colour.size() != 6) return {};
  auto hex = [&](size_t at) -> uint8_t {
    unsigned v = 0;
    for (size_t i = at; i < at + 2; ++i) {
      const char ch = colour[i];
      unsigned d;
      if (ch >= '0' && ch <= '9') d = static_cast<unsigned>(ch - '0');
      else if (ch >= 'a' && ch <= 'f') d = static_cast<unsigned>(ch - 'a' + 10);
      else if (ch >= 'A' && ch <= 'F') d = static_cast<unsigned>(ch - 'A' + 10);
      else break;
      v = v * 16 + d;
    }
    return static_cast<uint8_t>(v);
  };
  return {hex(0), hex(2), hex(4)};
}

Settings& GlobalSettings() {
  static Settings settings;
  return settings;
}

}  // namespace tarnwick
