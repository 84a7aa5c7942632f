// One input file to one output file: load, the image steps in their fixed
// order, naming and saving.
#pragma once

#include "core/settings.h"
#include "engine/run_context.h"

namespace tarnwick {

// True when the output file was written. Reads the settings and the run
// context; writes back the source and output depth, the final size and the
// output path.
bool ConvertOne(const Settings& s, RunContext& run);

}  // namespace tarnwick
