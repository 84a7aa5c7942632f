// The state of one conversion run, shared by the conversion start, the
// worker and the pipeline.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwick {

class DrawingLayer;

struct RunContext {
  std::string inputPath;
  std::string sourceFolder;  // nothing sets it in this product: stays empty
  std::string subfolder;
  std::string outputPath;
  std::string outputFolder;  // ends with "/" and exists when a run starts
  int32_t runNumber = 0;     // 1..99999, for "%rnd%"
  int32_t counter = 1;       // for "%n%"
  std::string outputExtension;
  std::string inputFormat;
  int32_t sourceDepth = 0;
  int32_t outputFormatId = 0;
  int32_t outputDepth = 0;
  int32_t saveFlags = 0;
  bool autoDepth = false;
  bool consoleMode = false;
  std::string runMode;  // "", "DEBUG" or "T"
  int32_t outputWidth = 0;
  int32_t outputHeight = 0;
  // Draws frames and watermarks; set by the conversion start when a run
  // needs it (the Qt module), null otherwise.
  DrawingLayer* drawing = nullptr;
};

RunContext& GlobalRunContext();

// Working state that is never stored.
struct WorkingState {
  std::string programFolder;      // ends with "/"
  std::string commandLineInput;   // the "-i" file
  int themeChangeRequest = 0;
  int preferencesStartPage = 0;
  std::string configPath;
};

WorkingState& GlobalWorkingState();

// The state reset of either face's start and of "New": empties the input
// set and the run context (a fresh run number, the counter at 1), clears
// the console flag and rebuilds the accepted input extensions.
void ResetWorkingState();

// A new random run number, 1 to 99999.
int32_t NewRunNumber();

}  // namespace tarnwick
