// Process start: the first-parameter commands, the parameter loop and the
// choice between the console face and the window face.
#pragma once

#include <string>
#include <vector>

namespace tarnwick {

void PrintHelp(const std::string& programName);
void PrintVersion();

// False when the window face is to start; true when a console path (version,
// help, error report or console run) has done the work.
bool RunCommandLine(const std::vector<std::string>& params, const std::string& programName);

// The program's entry: guard, dispatch, then the window face.
int ProgramMain(int argc, char** argv);

}  // namespace tarnwick
