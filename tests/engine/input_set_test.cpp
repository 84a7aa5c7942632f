#include "engine/input_set.h"

#include <gtest/gtest.h>

#include "core/formats.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

class InputSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RebuildAcceptedInputs();
    Defaults(s, false, {}, 0);
    run.consoleMode = true;
  }
  Settings s;
  RunContext run;
  InputSet set;
  test::TempDir dir;
};

TEST_F(InputSetTest, HoldsOneAcceptedFile) {
  test::WriteFile(dir / "a.jpg", "x");
  test::WriteFile(dir / "b.JPEG", "x");
  test::WriteFile(dir / "c.png", "x");
  test::WriteFile(dir / "empty.jpg", "");
  EXPECT_EQ(AddInputFile(dir / "a.jpg", set, run), 1);
  EXPECT_EQ(AddInputFile(dir / "b.JPEG", set, run), 1);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(set.begin()->first, dir / "b.JPEG");
  EXPECT_EQ(set.begin()->second.present, 1);
  EXPECT_EQ(set.begin()->second.subfolder, "");
  EXPECT_EQ(AddInputFile(dir / "c.png", set, run), 0);
  EXPECT_EQ(AddInputFile(dir / "empty.jpg", set, run), 0);
  EXPECT_EQ(set.begin()->first, dir / "b.JPEG");
  // Missing files and folders pass here and fail in the pipeline.
  EXPECT_EQ(AddInputFile(dir / "missing.jpg", set, run), 1);
}

TEST_F(InputSetTest, WindowFaceHookRunsOnlyOutsideTheConsole) {
  std::vector<std::string> seen;
  SetInputAddedHook([&](const std::string& path) { seen.push_back(path); });
  test::WriteFile(dir / "x.jpg", "x");
  AddInputFile(dir / "x.jpg", set, run);
  run.consoleMode = false;
  AddInputFile(dir / "x.jpg", set, run);
  SetInputAddedHook(nullptr);
  EXPECT_EQ(seen, std::vector<std::string>{dir / "x.jpg"});
}

TEST_F(InputSetTest, Subfolder) {
  EXPECT_EQ(Subfolder("/src/a/b/x.jpg", ""), "");
  EXPECT_EQ(Subfolder("/src/a/b/x.jpg", "/src/"), "a/b/");
  EXPECT_EQ(Subfolder("/other/x.jpg", "/src/"), "");
}

TEST_F(InputSetTest, RecentOutFolders) {
  s.outFoldersNumber = 3;
  s.recentOutFolders = "C:\\A\tc:\\b\tC:\\C";
  EXPECT_EQ(AddRecentOutFolder(s, "C:\\B"), 1);
  EXPECT_EQ(s.recentOutFolders, "C:\\B\tC:\\A\tC:\\C");

  s.outFoldersNumber = 5;
  s.recentOutFolders = "/one/\t/two/\t/three/\t/four/\t/five/";
  AddRecentOutFolder(s, "/new/");
  EXPECT_EQ(s.recentOutFolders, "/new/\t/one/\t/two/\t/three/\t/four/");
  AddRecentOutFolder(s, "/TWO/");
  EXPECT_EQ(s.recentOutFolders, "/TWO/\t/new/\t/one/\t/three/\t/four/");

  // Entries beyond the limit are dropped even when places are free.
  s.outFoldersNumber = 2;
  s.recentOutFolders = "\t/a/\t/b/";
  AddRecentOutFolder(s, "/c/");
  EXPECT_EQ(s.recentOutFolders, "/c/\t/a/");
  EXPECT_EQ(AddRecentOutFolder(s, ""), 0);
  EXPECT_EQ(s.recentOutFolders, "/c/\t/a/");

  s.recentOutFolders = "  /x/  \t\t/y/";
  EXPECT_EQ(RecentOutFolder(s, 0), "/x/");
  EXPECT_EQ(RecentOutFolder(s, 1), "");
  EXPECT_EQ(RecentOutFolder(s, 2), "/y/");
  EXPECT_EQ(RecentOutFolder(s, 3), "");
  EXPECT_EQ(RecentOutFolder(s, -1), "");
}

}  // namespace
}  // namespace tarnwick
