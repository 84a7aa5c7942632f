#include "engine/worker.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "support/test_support.h"

namespace tarnwick {
namespace {

// The worker on a thread of its own while this thread watches the shared
// progress values under their lock, as the console run and the progress
// dialog do. Nothing here waits for a time: the watcher polls until it has
// seen what it needs, and the results do not depend on how the threads
// interleave.
class WorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Defaults(s, true, {}, 0);
    run.outputFolder = dir.path();
    run.outputExtension = "tga";
    run.outputFormatId = FIF_TARGA;
    run.autoDepth = true;
    run.runNumber = 1;
    run.counter = 1;
  }

  enum class Stop { Never, BeforeStart, OnceStarted };

  struct Seen {
    int32_t index = 0;
    std::string path;
    int32_t converted = 0;
  };

  Seen RunWorker(const std::string& input, Stop stop) {
    InputSet inputs;
    inputs[input] = InputEntry{1, {}};
    Progress progress;
    progress.Start();
    if (stop == Stop::BeforeStart) progress.RequestStop();
    std::atomic<bool> done{false};
    std::thread worker([&] {
      WorkerMain(s, run, inputs, progress);
      done.store(true);
    });
    bool stopped = stop != Stop::OnceStarted;
    for (;;) {
      bool started;
      {
        std::lock_guard<std::mutex> guard(progress.lock);
        // The index only ever moves from 0 to 1, with the path set alongside.
        EXPECT_TRUE(progress.currentIndex == 0 || progress.currentIndex == 1) << progress.currentIndex;
        EXPECT_EQ(progress.currentPath, progress.currentIndex == 0 ? "" : input);
        started = progress.currentIndex == 1;
      }
      if (!stopped && started) {
        progress.RequestStop();
        stopped = true;
      }
      if (stopped && done.load()) break;
      std::this_thread::yield();
    }
    worker.join();
    std::lock_guard<std::mutex> guard(progress.lock);
    return {progress.currentIndex, progress.currentPath, progress.convertedCount};
  }

  test::TempDir dir;
  Settings s;
  RunContext run;
};

TEST_F(WorkerTest, ProgressAndStopRequests) {
  const std::string good = test::MakeJpeg(dir / "good.jpg", 640, 480);
  test::WriteFile(dir / "bad.jpg", std::string(300, 'x'));
  const struct {
    const char* input;
    Stop stop;
    int32_t index;      // the current index once the worker has ended
    int32_t converted;  // the converted count it leaves
    bool written;       // whether the output file exists
  } cases[] = {
      {"good.jpg", Stop::Never, 1, 1, true},
      {"bad.jpg", Stop::Never, 1, 0, false},
      // A stop before the start: no file is begun.
      {"good.jpg", Stop::BeforeStart, 0, 0, false},
      // A stop once the only file is under way: it is finished and counted.
      {"good.jpg", Stop::OnceStarted, 1, 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input) + " stop " + std::to_string(static_cast<int>(c.stop)));
    const std::string input = dir / c.input;
    const std::string output = dir / (std::string(c.input).substr(0, std::string(c.input).size() - 4) + ".tga");
    std::remove(output.c_str());
    run.outputPath.clear();
    run.counter = 1;
    const Seen seen = RunWorker(input, c.stop);
    EXPECT_EQ(seen.index, c.index);
    EXPECT_EQ(seen.path, c.index == 0 ? "" : input);
    EXPECT_EQ(seen.converted, c.converted);
    EXPECT_EQ(test::Exists(output), c.written);
    // Only a saved file moves the counter on.
    EXPECT_EQ(run.counter, 1 + c.converted);
    if (c.written) {
      EXPECT_EQ(run.outputPath, output);
      FIBITMAP* back = FreeImage_Load(FIF_TARGA, output.c_str(), 0);
      ASSERT_NE(back, nullptr);
      EXPECT_EQ(FreeImage_GetWidth(back), 640u);
      EXPECT_EQ(FreeImage_GetHeight(back), 480u);
      FreeImage_Unload(back);
    }
  }
}

}  // namespace
}  // namespace tarnwick
