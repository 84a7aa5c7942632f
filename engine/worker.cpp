#include "engine/worker.h"

#include "engine/naming.h"
#include "engine/pipeline.h"
#include "platform/console.h"

namespace tarnwick {

void Progress::Start() {
  std::lock_guard<std::mutex> guard(lock);
  currentIndex = 0;
  currentPath.clear();
  convertedCount = 0;
  running.store(1);
}

void Progress::RequestStop() {
  std::lock_guard<std::mutex> guard(lock);
  running.store(0);
}

int WorkerMain(const Settings& s, RunContext& run, const InputSet& inputs, Progress& progress) {
  const bool debug = run.consoleMode && run.runMode == "DEBUG";
  int32_t index = 0, converted = 0;
  for (auto it = inputs.begin(); progress.running.load() == 1 && it != inputs.end(); ++it) {
    run.inputPath = it->first;
    run.subfolder = it->second.subfolder;
    {
      std::lock_guard<std::mutex> guard(progress.lock);
      progress.currentIndex = ++index;
      progress.currentPath = run.inputPath;
    }
    if (debug) PrintLine("Processing: " + run.inputPath);
    const bool ok = ConvertOne(s, run);
    if (debug) {
      PrintLine("Saving As: " + run.outputPath);
      PrintLine(ok ? "OK" : "Not OK");
    }
    if (!ok) continue;
    run.runNumber = NewRunNumber();
    ++run.counter;
    ++converted;
    SetOutputDate(s, run);
  }
  std::lock_guard<std::mutex> guard(progress.lock);
  progress.convertedCount = converted;
  return 0;
}

}  // namespace tarnwick
