// The console face after the parameter loop: report an error, or check the
// settings, list them on request, convert the one input file and report.
#pragma once

#include "cli/options.h"

namespace tarnwick {

// Returns false when the window face is to start; true when the console
// face handled the run (the caller then ends the process).
bool ReportOrRun(const CommandLine& cl, Settings& s, RunContext& run, WorkingState& state);

// Checks, lists and converts. Exposed for tests.
void ConsoleRun(bool quiet, Settings& s, RunContext& run, WorkingState& state);

}  // namespace tarnwick
