#include "engine/run_context.h"

#include "core/formats.h"
#include "engine/input_set.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace tarnwick {

RunContext& GlobalRunContext() {
  static RunContext run;
  return run;
}

WorkingState& GlobalWorkingState() {
  static WorkingState state;
  return state;
}

int32_t NewRunNumber() { return RandomBetween(1, 99999); }

void ResetWorkingState() {
  WorkingState& state = GlobalWorkingState();
  state.programFolder = ProgramFolder();
  state.commandLineInput.clear();
  state.themeChangeRequest = 0;
  state.preferencesStartPage = 0;
  GlobalInputSet().clear();
  RunContext& run = GlobalRunContext();
  run = RunContext{};
  run.runNumber = NewRunNumber();
  run.counter = 1;
  RebuildAcceptedInputs();
}

}  // namespace tarnwick
