// The worker thread that runs the pipeline over the input set while the
// caller watches the shared progress values.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "core/settings.h"
#include "engine/input_set.h"
#include "engine/run_context.h"

namespace tarnwick {

struct Progress {
  std::mutex lock;  // guards the three values below
  int32_t currentIndex = 0;
  std::string currentPath;
  int32_t convertedCount = 0;
  // 1 while the run may go on; the worker reads it once per file.
  std::atomic<int8_t> running{0};

  // Sets the values for a new run and the running flag.
  void Start();
  // Asks the worker to stop after the file in progress.
  void RequestStop();
};

// Converts every entry of the input set; returns 0. The debug lines are
// printed in the console face when the run mode is "DEBUG".
int WorkerMain(const Settings& s, RunContext& run, const InputSet& inputs, Progress& progress);

}  // namespace tarnwick
