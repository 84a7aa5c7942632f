// The settings record: every choice a user can make, named by its
// configuration key. The rows of settings_table.h declare each setting once.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/settings_table.h"

namespace tarnwick {

enum class SettingType { Flag, Int8, Int32, Float, Text, Colour, ColourList, Date };

namespace detail {
template <SettingType T> struct Storage { using type = int32_t; };
template <> struct Storage<SettingType::Flag> { using type = int8_t; };
template <> struct Storage<SettingType::Int8> { using type = int8_t; };
template <> struct Storage<SettingType::Float> { using type = float; };
template <> struct Storage<SettingType::Text> { using type = std::string; };
template <> struct Storage<SettingType::Colour> { using type = std::string; };
template <> struct Storage<SettingType::ColourList> { using type = std::string; };
}  // namespace detail

struct Settings {
#define TARNWICK_FIELD(group, member, key, kind, def, table) \
  detail::Storage<SettingType::kind>::type member{};
  TARNWICK_SETTINGS(TARNWICK_FIELD)
#undef TARNWICK_FIELD
};

// A default: a number or a text, whichever the setting's type takes.
struct SettingDefault {
  double number = 0;
  const char* text = nullptr;
  constexpr SettingDefault(int v) : number(v) {}
  constexpr SettingDefault(double v) : number(v) {}
  constexpr SettingDefault(const char* t) : text(t) {}
};

using SettingField = std::variant<int8_t Settings::*, int32_t Settings::*, float Settings::*, std::string Settings::*>;

struct SettingDef {
  const char* group;
  const char* key;
  SettingType type;
  SettingField field;
  SettingDefault def;
  int keywordTable;  // -1 when the value is a plain number or text
};

// Every setting, in configuration-file order.
std::span<const SettingDef> AllSettings();
// The setting of a group and key, both compared without regard to case.
const SettingDef* FindSetting(std::string_view group, std::string_view key);
// The same, for code that names a setting it knows exists.
const SettingDef& SettingOf(std::string_view group, std::string_view key);

bool IsNumeric(const SettingDef& def);  // flag, int8, int32, date
int64_t GetInteger(const Settings& s, const SettingDef& def);
// Stores a number; an int8 or a flag keeps the low 8 bits.
void SetInteger(Settings& s, const SettingDef& def, int64_t value);
float GetFloat(const Settings& s, const SettingDef& def);
void SetFloat(Settings& s, const SettingDef& def, float value);
const std::string& GetText(const Settings& s, const SettingDef& def);
void SetText(Settings& s, const SettingDef& def, std::string value);

struct DesktopSize {
  int width = 0;
  int height = 0;
};

// Fills every setting with its default. The console face starts with
// "Keep Aspect Ratio" 0; the window is centred on the desktop.
void Defaults(Settings& s, bool consoleFace, DesktopSize desktop, int32_t now);

// The display text of a colour: its catalogue name, or "Color #RRGGBB".
std::string ColourName(std::string_view colour);

// A colour text read as red, green and blue; a text not six long is black.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};
Rgb ParseColour(std::string_view colour);

// The process-wide record that both faces fill and the engine reads.
Settings& GlobalSettings();

}  // namespace tarnwick
