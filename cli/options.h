// Command-line parameters and profile files turned into settings.
#pragma once

#include <string>
#include <vector>

#include "core/settings.h"
#include "engine/run_context.h"

namespace tarnwick {

struct CommandLine {
  std::vector<std::string> params;  // without the program's own name
  std::string error;                // "Incorrect number of parameters", "Invalid profile file"
  bool quiet = false;
  bool pause = false;
};

// "-I", "--JPG-QUALITY" (the part before "=" of a "--" parameter), upper-cased;
// empty for a parameter that does not start with "-".
std::string OptionName(const std::string& param);
// The text after the first "=" of a "--" parameter, else the whole parameter.
std::string OptionValue(const std::string& param);

// Walks every parameter once, storing what it recognises; stops at the
// first error.
void ParseParameters(CommandLine& cl, Settings& s, RunContext& run, WorkingState& state);

// Applies the "CLI" group of a profile file. False when the path is empty or
// the file cannot be opened.
bool ReadProfile(const std::string& path, Settings& s);

}  // namespace tarnwick
