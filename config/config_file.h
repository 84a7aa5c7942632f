// The configuration file of the window face: where it lives, how
// the settings record is read from it and written to it, and the steps the
// window face takes at exit before the last save.
//
// The file is "<$XDG_CONFIG_HOME or $HOME/.config>/Lumacraft/tarnwick/config.ini",
// UTF-8 with a byte-order mark and CR LF line ends, one group per settings
// group in the order of the settings table. The console face never touches it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"

namespace tarnwick {

// Builds the path of config.ini and creates the folders "Lumacraft" and
// "tarnwick" when they are missing. A folder that cannot be created is not
// reported: LoadConfig then gives the defaults and SaveConfig writes nothing.
std::string ConfigPath();

// Reads the settings record from the file at `path`. A file that cannot be
// opened gives Defaults(s, false, desktop, now) and false. Any other file
// gives true: every key it lacks, or holds in a form that does not parse,
// takes its read default (the table's, except "X" and "Y" 100, "CFG" 0,
// "Update Date" and "Custom Timestamp" `now`). Files of older layouts
// ("CFG" below 11 or 14) are upgraded afterwards.
bool LoadConfig(Settings& s, const std::string& path, DesktopSize desktop, int32_t now);

// The whole text that SaveConfig writes: byte-order mark, every group in the
// fixed order, "CFG" as 17, the "Window" values only when "Save Window
// Position" is 1, and the per-format keys only of offered formats.
std::string ConfigText(const Settings& s);

// Writes ConfigText(s) to `path` atomically: a temporary file beside it is
// written, flushed to disk and renamed over the old file, so a save that
// fails leaves the earlier file whole. False when nothing was written.
bool SaveConfig(const Settings& s, const std::string& path);

// The load options ("Input") or save options ("Output") of one format, in
// the order they are written: for "raw" in "Input", "RAW Load As" ... "RAW
// Tone Mapping"; for "tga" in "Output", "TGA BPP" and "TGA Compression".
// Empty for a format without options (e.g. "jpg" in "Input").
std::vector<const SettingDef*> FormatOptionSettings(std::string_view group, std::string_view format);

// The main window as the window face finds it when the program ends.
struct WindowPlacement {
  bool maximised = false;
  bool minimised = false;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The exit steps before the last save: a maximised window sets "IsMaximized"
// 1 and keeps the stored size; a normal one stores 0 and its size and
// position; a minimised one leaves all five as they were. A window that is
// both (Qt reports one minimised from maximised so) counts as maximised,
// which is asked first. "Out Folders History" 0 empties "Recent
// Out Folders".
void ApplyExitSteps(Settings& s, const WindowPlacement& window);

}  // namespace tarnwick
