// Any bytes as an INI file: parsed from memory, then read from a file both
// as a command-line profile and as the configuration file. Nothing is
// checked beyond the documented results; the run must simply survive.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "config/config_file.h"
#include "config/ini.h"
#include "core/settings.h"
#include "fuzz/fuzz_support.h"

using namespace tarnwick;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const IniFile ini = IniFile::Parse(bytes);
  (void)ini.Value("CLI", "--FILENAME-MASK");

  static const std::string path = fuzz::ScratchFolder() + "input.ini";
  if (!fuzz::WriteBytes(path, data, size)) fuzz::Fail("cannot write the INI file");

  Settings profile;
  Defaults(profile, true, {}, 0);
  if (!ReadProfile(path, profile)) fuzz::Fail("a readable profile was refused");

  Settings config;
  if (!LoadConfig(config, path, DesktopSize{1920, 1080}, 0)) fuzz::Fail("a readable configuration was refused");
  (void)ConfigText(config);
  return 0;
}
