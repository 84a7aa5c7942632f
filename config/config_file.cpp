#include "config/config_file.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "config/ini.h"
#include "core/formats.h"
#include "core/text.h"
#include "platform/files.h"

namespace tarnwick {
namespace {

constexpr int32_t kWrittenCfg = 17;

// The first-level folder of the user's settings: $XDG_CONFIG_HOME, else
// $HOME/.config; empty when neither can be had.
std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string folder = xdg != nullptr ? TrimBlanks(xdg) : std::string();
  if (folder.empty()) {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') folder = std::string(home) + "/.config";
  }
  return folder;
}

// The groups "Input" and "Output" write, after "Format", only the options
// of the formats they offer.
const std::vector<std::string>* OfferedFormats(std::string_view group) {
  if (group == "Input") return &InputFormats();
  if (group == "Output") return &OutputFormats();
  return nullptr;
}

std::string FloatText(float value) {
  if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
  if (std::isnan(value)) return "NaN";
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
  return ec == std::errc() ? std::string(buf, end) : std::string("0.000000");
}

// Values are written as they are; a line break inside one would end the
// line early and let the rest read as lines of their own, so it is written
// as a blank.
std::string OneLine(std::string text) {
  for (char& ch : text)
    if (ch == '\r' || ch == '\n') ch = ' ';
  return text;
}

std::string ValueText(const Settings& s, const SettingDef& def) {
  if (def.type == SettingType::Float) return FloatText(GetFloat(s, def));
  if (IsNumeric(def)) return std::to_string(GetInteger(s, def));
  return OneLine(GetText(s, def));
}

void ReadValue(Settings& s, const SettingDef& def, const std::string& value) {
  if (def.type == SettingType::Float)
    SetFloat(s, def, ParseDecimal(value));
  else if (IsNumeric(def))
    SetInteger(s, def, ParseLeadingInteger(value));
  else
    SetText(s, def, value);
}

// The values a file gives to the keys it does not hold.
void ReadDefaults(Settings& s, DesktopSize desktop, int32_t now) {
  Defaults(s, false, desktop, now);
  s.x = 100;
  s.y = 100;
  s.cfg = 0;
}

void Upgrade(Settings& s) {
  // Masks of old layouts named no extension; the naming tokens match
  // without regard to case, so "%EXT%" counts as present.
  if (s.cfg < 11 && !ContainsNoCase(s.filenameMask, "%ext%")) s.filenameMask += ".%ext%";
  if (s.cfg < 14 && s.rawLoadAs != 0) s.rawLoadAs += 2;
}

// The file holds the window placement as size before position; the record
// and the table hold position first.
constexpr const char* kWindowWriteOrder[] = {"IsMaximized", "Width", "Height", "X", "Y"};

void PutSetting(IniWriter& w, const Settings& s, const SettingDef& def) {
  if (std::string_view(def.key) == "CFG" && std::string_view(def.group) == "General") {
    w.Put(def.key, std::to_string(kWrittenCfg));
  } else {
    w.Put(def.key, ValueText(s, def));
  }
}

}  // namespace

std::string ConfigPath() {
  std::string path = UserConfigFolder();
  if (path.empty() || path.back() != '/') path += '/';
  // A new account may have no ~/.config yet; settings would never stick.
  if (path != "/") MakeFolder(path);
  path += "Lumacraft/";
  MakeFolder(path);
  path += "tarnwick/";
  MakeFolder(path);
  return path + "config.ini";
}

bool LoadConfig(Settings& s, const std::string& path, DesktopSize desktop, int32_t now) {
  const std::optional<IniFile> ini = IniFile::Load(path);
  if (!ini) {
    Defaults(s, false, desktop, now);
  } else {
    ReadDefaults(s, desktop, now);
    // Every key of the table is read, the options of formats not offered
    // included, so that they survive in the record.
    for (const SettingDef& def : AllSettings())
      if (const std::optional<std::string> value = ini->Value(def.group, def.key)) ReadValue(s, def, *value);
  }
  Upgrade(s);
  return ini.has_value();
}

std::vector<const SettingDef*> FormatOptionSettings(std::string_view group, std::string_view format) {
  std::vector<const SettingDef*> defs;
  if (format.empty()) return defs;
  // Every load or save option is named by its format's upper-cased
  // extension and a blank ("TGA Compression"), and the table lists each
  // format's options in the order they are written.
  const std::string prefix = ToUpper(format) + " ";
  for (const SettingDef& def : AllSettings())
    if (SameWordNoCase(def.group, group) && std::string_view(def.key) != "Format" && StartsWith(def.key, prefix))
      defs.push_back(&def);
  return defs;
}

std::string ConfigText(const Settings& s) {
  IniWriter w;
  const auto all = AllSettings();
  for (size_t i = 0; i < all.size();) {
    const std::string_view group = all[i].group;
    size_t end = i;
    while (end < all.size() && all[end].group == group) ++end;

    w.BeginGroup(group);
    if (const std::vector<std::string>* formats = OfferedFormats(group)) {
      PutSetting(w, s, SettingOf(group, "Format"));
      for (const std::string& format : *formats)
        for (const SettingDef* def : FormatOptionSettings(group, format)) PutSetting(w, s, *def);
    } else if (group == "Window") {
      if (s.saveWindowPosition == 1)
        for (const char* key : kWindowWriteOrder) PutSetting(w, s, SettingOf(group, key));
    } else {
      for (size_t k = i; k < end; ++k) PutSetting(w, s, all[k]);
    }
    w.EndGroup();
    i = end;
  }
  return w.Text();
}

bool SaveConfig(const Settings& s, const std::string& path) {
  return WriteFileAtomically(path, ConfigText(s), /*sync=*/true);
}

void ApplyExitSteps(Settings& s, const WindowPlacement& window) {
  if (window.maximised) {
    s.isMaximized = 1;
  } else if (!window.minimised) {
    s.isMaximized = 0;
    s.width = window.width;
    s.height = window.height;
    s.x = window.x;
    s.y = window.y;
  }
  if (s.outFoldersHistory == 0) s.recentOutFolders.clear();
}

}  // namespace tarnwick
