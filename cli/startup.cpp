#include "cli/startup.h"

#include <cstdio>

#include "cli/console_run.h"
#include "cli/options.h"
#include "core/formats.h"
#include "core/messages.h"
#include "core/product.h"
#include "core/settings.h"
#include "engine/run_context.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/instance_lock.h"

namespace tarnwick {
namespace {

// Two blanks, the option padded to 26 characters, the description from
// column 29.
std::string HelpRow(const std::string& option, const std::string& description) {
  std::string row = "  " + option;
  if (row.size() < 28) row.append(28 - row.size(), ' ');
  return row + description;
}

std::string RandomInputFormat() {
  const auto& formats = InputFormats();
  return formats[static_cast<size_t>(RandomBetween(0, static_cast<int>(formats.size()) - 1))];
}

}  // namespace

void PrintHelp(const std::string& programName) {
  auto example = [&](const char* line) { PrintLine(Format(line, programName, RandomInputFormat())); };
  PrintLine(" ");
  PrintLine(Format("Usage: %s1% -i <filename> [options]", programName));
  PrintLine(" ");
  example("  %s1% -i example.%s2%");
  example("  %s1% -i c:\\tmp\\example.%s2%");
  example("  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted");
  example("  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted --jpg-quality=95");
  PrintLine(" ");
  PrintLine("Options:");
  PrintLine(" ");
  PrintLine(HelpRow("-h, -?, --help", "Display this help and exit"));
  PrintLine(HelpRow("-i FILE, --input=FILE", "Set input file"));
  PrintLine(HelpRow("-o PATH, --output=PATH", "Set output folder"));
  PrintLine(HelpRow("-c STR, --conversion=STR", "Set output extension, STR = (jpg | bmp | ...)"));
  PrintLine(" ");
  PrintLine("Advanced options:");
  PrintLine(" ");
  PrintLine(HelpRow("--width=NUM", "Set output image width"));
  PrintLine(HelpRow("--height=NUM", "Set output image height"));
  PrintLine(HelpRow("--filename-mask=STR", "Define output filename format"));
  PrintLine(HelpRow("--flip-horizontal", "Flip output image horizontally"));
  PrintLine(HelpRow("--flip-vertical", "Flip output image vertically"));
  PrintLine(HelpRow("--brightness=NUM", "Set output image brightness, NUM = -100..100"));
  PrintLine(HelpRow("--contrast=NUM", "Set output image contrast, NUM = -100..100"));
  PrintLine(HelpRow("--gamma=NUM", "Set output image gamma, NUM = 0.01..9.99"));
  PrintLine(HelpRow("--invert", "Invert output image"));
  PrintLine(HelpRow("--greyscale", "Greyscale output image"));
  PrintLine(HelpRow("--profile=FILE", "Set configuration file with required settings"));
  PrintLine(HelpRow("  ...", "Refer documentation for all available options"));
  PrintLine(" ");
  PrintLine("Other options:");
  PrintLine(" ");
  PrintLine(HelpRow("-q, --quiet", "Don't print status messages to stdout"));
  PrintLine(HelpRow("-d, --debug", "Print debug information to stdout"));
  PrintLine(HelpRow("-p, --pause", "Pause at exit"));
  PrintLine(HelpRow("-v, --version", "Display version information and exit"));
}

void PrintVersion() { PrintLine(VersionText(kProgramVersion)); }

bool RunCommandLine(const std::vector<std::string>& params, const std::string& programName) {
  if (params.empty()) return false;
  Settings& s = GlobalSettings();
  RunContext& run = GlobalRunContext();
  WorkingState& state = GlobalWorkingState();
  ResetWorkingState();
  Defaults(s, true, DesktopSize{}, NowDate());
  BuildCatalogue();

  const std::string title = TitleText(kProductName, kProgramVersion);
  const std::string first = OptionName(params.front());
  if (first == "-V" || first == "--VERSION") {
    SetConsoleTitle(title);
    PrintVersion();
    return true;
  }
  if (first == "-H" || first == "-?" || first == "--HELP") {
    SetConsoleTitle(title);
    PrintHelp(programName);
    return true;
  }
  // "-U" and "-T" open windows; they belong to the window face.

  CommandLine cl;
  cl.params = params;
  ParseParameters(cl, s, run, state);
  return ReportOrRun(cl, s, run, state);
}

int ProgramMain(int argc, char** argv) {
  const std::string title = TitleText(kProductName, kProgramVersion);
  InstanceLock guard(title);
  if (!guard.Held()) return 0;

  std::vector<std::string> params(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string programName = argc > 0 ? argv[0] : kCodeName;
  const size_t slash = programName.rfind('/');
  if (slash != std::string::npos) programName.erase(0, slash + 1);

  if (RunCommandLine(params, programName)) return 0;
  // The window face is not part of this build yet: end quietly.
  return 0;
}

}  // namespace tarnwick
