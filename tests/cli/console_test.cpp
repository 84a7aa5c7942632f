// Runs the built executable on real JPEG files and checks its lines, its
// exit code and the files it leaves.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/instance_lock.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

using test::Lines;
using test::RunTarnwick;

const std::vector<std::string> kBanner{"Tarnwick 2.7", "Copyright (c) 2026 Lumacraft. All rights reserved.",
                                       "http://www.lumacraft.example", " "};

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ConsoleTest : public ::testing::Test {
 protected:
  std::string Jpeg(const std::string& name, int w = 64, int h = 48, int bpp = 24) {
    return test::MakeJpeg(dir / name, w, h, bpp);
  }
  test::TempDir dir;
};

TEST_F(ConsoleTest, VersionAndHelp) {
  for (const char* arg : {"-v", "-V", "--version", "--Version=abc"}) {
    const auto r = RunTarnwick({arg});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "2.7\n") << arg;
  }
  const auto help = RunTarnwick({"-h"});
  EXPECT_EQ(help.exitCode, 0);
  const std::vector<std::string> lines = Lines(help.out);
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[0], " ");
  EXPECT_EQ(lines[1], "Usage: tarnwick -i <filename> [options]");
  EXPECT_EQ(lines[4], "  tarnwick -i c:\\tmp\\example.jpg");
  EXPECT_EQ(lines[6], "  tarnwick -i c:\\tmp\\example.jpg -o d:\\converted --jpg-quality=95");
  EXPECT_EQ(lines[10], "  -h, -?, --help            Display this help and exit");
  EXPECT_EQ(lines[13], "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)");
  EXPECT_EQ(lines[28], "    ...                     Refer documentation for all available options");
  EXPECT_EQ(lines[35], "  -v, --version             Display version information and exit");
  for (size_t i : {10u, 11u, 12u, 17u, 24u, 27u, 32u, 33u, 34u}) EXPECT_NE(lines[i][28], ' ') << lines[i];
  EXPECT_EQ(RunTarnwick({"-?"}).out, help.out);
  EXPECT_EQ(RunTarnwick({"--HELP"}).out, help.out);
}

TEST_F(ConsoleTest, PlainRunPrintsItsLinesAndWritesTheFile) {
  const std::string jpg = Jpeg("photo.jpg");
  const auto r = RunTarnwick({"-i", jpg, "-o", dir.path()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(Lines(r.out), Concat(kBanner, {"Preparing...", "Importing...", "Import complete, new files added: 1",
                                           "Converting...", "Conversion complete", "Files converted: 1 of 1"}));
  EXPECT_TRUE(test::Exists(dir / "photo.tga"));
  // Quiet prints nothing on success.
  EXPECT_EQ(RunTarnwick({"-q", "-i", jpg, "-o", dir.path()}).out, "");
  // Without "-o" the output goes beside the input.
  std::filesystem::remove(dir / "photo.tga");
  EXPECT_EQ(RunTarnwick({"-q", "--input=" + jpg}).exitCode, 0);
  EXPECT_TRUE(test::Exists(dir / "photo.tga"));
}

TEST_F(ConsoleTest, PauseAndWindowFacePaths) {
  // With no terminal on standard input no key can come: the pause does not
  // wait, but its prompt is printed after a run (not after an error).
  const auto paused = RunTarnwick({"-q", "-p", "-i", Jpeg("p.jpg"), "-o", dir.path()});
  EXPECT_EQ(paused.out, "Press any key to exit.\n");
  EXPECT_EQ(RunTarnwick({"-p", "-i"}).out, "Error: Incorrect number of parameters\n");
  // No input among the parameters: the window face, which ends quietly here.
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {dir / "p.jpg"}, {"--width=5"}}) {
    const auto r = RunTarnwick(args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(ConsoleTest, RunLengthFileReadsBackInAnIndependentDecoder) {
  const std::string jpg = Jpeg("rle.jpg", 50, 30);
  ASSERT_EQ(RunTarnwick({"-q", "-i", jpg, "-o", dir.path(), "--tga-compression=rle"}).out, "");
  const std::string tga = test::ReadFile(dir / "rle.tga");
  ASSERT_GT(tga.size(), 18u);
  EXPECT_EQ(tga[2], 10);  // run-length true colour
  ASSERT_EQ(RunTarnwick({"-q", "-i", jpg, "-o", dir.path(), "--filename-mask=plain.tga"}).out, "");
  // Pillow decodes both; the pixels must be the same.
  const auto py = test::RunProgram(
      "/usr/bin/python3",
      {"-c",
       "import sys; from PIL import Image, ImageChops; a=Image.open(sys.argv[1]); b=Image.open(sys.argv[2]);"
       "j=Image.open(sys.argv[3]).convert('RGB');"
       "print(a.size, a.mode, a.tobytes()==b.tobytes(), max(ImageChops.difference(j, b).getextrema())[1] <= 2)",
       dir / "rle.tga", dir / "plain.tga", jpg});
  // Same pixels in both files, and upright: the independent JPEG decoder
  // agrees with the Targa rows (a flipped file would differ widely).
  EXPECT_EQ(py.out, "(50, 30) RGB True True\n") << py.err;
}

TEST_F(ConsoleTest, DebugListingInOrder) {
  const std::string jpg = Jpeg("d.jpg");
  const auto r = RunTarnwick({"-q", "-d", "-i", jpg, "-o", dir.path(), "--tga-bpp=16", "--rotation=90",
                              "--rotation-back-color=FF0000", "--width=50", "--height=40", "--width-unit=percent",
                              "--keep-aspect-ratio", "--resize-algorithm=lanczos", "--flip-vertical", "--gamma=2.2",
                              "--greyscale", "--threshold=100", "--filename-mask=%filename%_%bpp%.%ext%",
                              "--file-timestamp=custom", "--file-timestamp-custom=86400"});
  EXPECT_EQ(r.exitCode, 0);
  const std::vector<std::string> expected{
      "Input: " + jpg,
      "Output: " + dir.path(),
      "Conversion: tga",
      "TGA BPP: 16",
      "TGA Compression: none",
      "Image Rotation Type: simple",
      "Image Rotation: 90",
      "Image Rotation Back Color: FF0000",
      "Width: 50 percent",
      "Height: 40 pixels",
      "Keep Aspect Ratio: 1",
      "Image Resize Type: allimages",
      "Image Resize Algorithm: lanczos",
      "Flip Horizontal: 0",
      "Flip Vertical: 1",
      "Brightness: 0",
      "Contrast: 0",
      "Gamma: 2.20",
      "Invert: 0",
      "Greyscale: 1",
      "Image Threshold: 100",
      "Frame: none",
      "Watermark: none",
      "Filename Mask: %filename%_%bpp%.%ext%",
      "File Timestamp: custom",
      "Custom Timestamp: 86400",
      "Keep Subfolders: 1",
      "Processing: " + jpg,
      "Saving As: " + dir.path() + "d_16.tga",
      "OK",
  };
  EXPECT_EQ(Lines(r.out), expected);
  struct stat st {};
  ASSERT_EQ(stat((dir / "d_16.tga").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 86400);  // tests run with TZ=UTC
}

TEST_F(ConsoleTest, DebugListingOfFrameAndWatermarkSettings) {
  const std::string jpg = Jpeg("w.jpg");
  test::WriteFile(dir / "mark.png", "not empty");
  const auto r = RunTarnwick({"-q", "-d", "-i", jpg, "-o", dir.path(), "--fr-solid-left=4", "--fr-solid-top-color=00FF00",
                              "--wm-image=" + (dir / "mark.png"), "--wm-image-opacity=128",
                              "--wm-image-position=topleft", "--wm-image-x-offset=3", "--wm-image-rotation=15"});
  const std::vector<std::string> lines = Lines(r.out);
  const std::vector<std::string> block{
      "Frame: solid",
      "Frame left: 4",
      "Frame right: 0",
      "Frame top: 0",
      "Frame bottom: 0",
      "Frame left color: 000000",
      "Frame right color: 000000",
      "Frame top color: 00FF00",
      "Frame bottom color: 000000",
      "Frame opacity: 255",
      "Watermark: image",
      "Watermark image: " + (dir / "mark.png"),
      "Watermark greyscale: 0",
      "Watermark opacity: 128",
      "Watermark boundary: image",
      "Watermark position: topleft",
      "Watermark offset (x/y): 3/10",
      "Watermark rotation: 15",
      "Watermark size/mode: fixed",
      "Filename Mask: %filename%.%ext%",
  };
  const auto at = std::find(lines.begin(), lines.end(), "Frame: solid");
  ASSERT_NE(at, lines.end()) << r.out;
  EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(std::min(block.size(), static_cast<size_t>(lines.end() - at)))), block);
}

TEST_F(ConsoleTest, EveryErrorLine) {
  const std::string jpg = Jpeg("e.jpg");
  test::WriteFile(dir / "empty.jpg", "");
  test::WriteFile(dir / "noext", "x");
  mkdir((dir / "folder.jpg").c_str(), 0755);
  const std::string out = "--output=" + dir.path();
  const struct {
    std::vector<std::string> args;
    const char* line;
  } cases[] = {
      {{"-i"}, "Error: Incorrect number of parameters"},
      {{"--profile=" + (dir / "none.ini"), "-i", jpg}, "Error: Invalid profile file"},
      {{"-i", dir / "noext", out}, "Error: Invalid input file"},
      {{"-i", dir / ".hidden", out}, "Error: Invalid input file"},
      {{"-i", dir / "missing.jpg", out}, "Error: Invalid input file"},
      {{"-i", dir / "empty.jpg", out}, "Error: Invalid input file"},
      {{"-i", dir / "folder.jpg", out}, "Error: Invalid input file"},
      {{"-i", jpg, "-o", "../out"}, "Error: Incorrect output folder"},
      {{"-i", jpg, "-o", dir / "nosuch"}, "Error: Invalid output folder"},
      {{"-i", jpg, out, "-c", "TGA"}, "Error: Invalid conversion type"},
      {{"-i", jpg, out, "-c", "png"}, "Error: Invalid conversion type"},
      {{"-i", jpg, out, "--tga-bpp=7"}, "Error: Invalid tga-bpp value"},
      {{"-i", jpg, out, "--width=800"}, "Error: Invalid height value"},
      {{"-i", jpg, out, "--height=800"}, "Error: Invalid width value"},
      {{"-i", jpg, out, "--brightness=101"}, "Error: Invalid brightness value"},
      {{"-i", jpg, out, "--contrast=-101"}, "Error: Invalid contrast value"},
      {{"-i", jpg, out, "--gamma=10"}, "Error: Invalid gamma value"},
      {{"-i", jpg, out, "--gamma=0.0099"}, "Error: Invalid gamma value"},
      {{"-i", jpg, out, "--gamma=nan"}, "Error: Invalid gamma value"},
      {{"-i", jpg, out, "--wm-image=" + (dir / "empty.jpg")}, "Error: Invalid watermark image"},
      {{"-i", jpg, out, "--wm-image=" + dir.path()}, "Error: Invalid watermark image"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "-q");
    const auto r = RunTarnwick(args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, std::string(c.line) + "\n") << c.args.back();
  }
  EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"e.jpg", "empty.jpg", "folder.jpg", "noext"}));
}

TEST_F(ConsoleTest, AcceptedBoundaries) {
  const std::string jpg = Jpeg("b.jpg");
  const std::string out = "--output=" + dir.path();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--tga-bpp=16"}, {"--tga-bpp=0"}, {"--gamma=0.01"}, {"--gamma=9.99"}, {"--brightness=100"},
           {"-c", "tga"}, {"--jpg-quality=0"}, {"--width=-5", "--height=-5"}}) {
    std::vector<std::string> all{"-q", "-i", jpg, out};
    all.insert(all.end(), args.begin(), args.end());
    EXPECT_EQ(RunTarnwick(all).out, "") << args[0];
  }
}

TEST_F(ConsoleTest, InputsThatAreNotAdded) {
  test::WriteFile(dir / "list.txt", "a.jpg\n");
  test::WriteFile(dir / "photo.bmp", "BM....");
  for (const char* name : {"list.txt", "photo.bmp"}) {
    const auto quiet = RunTarnwick({"-q", "-i", dir / name, "-o", dir.path()});
    EXPECT_EQ(Lines(quiet.out), (std::vector<std::string>{
                                    "Conversion stopped",
                                    "No input file(s) found. Please, add valid file(s) and try again!"}));
  }
  const auto loud = RunTarnwick({"-i", dir / "list.txt", "-o", dir.path()});
  EXPECT_EQ(Lines(loud.out),
            Concat(kBanner, {"Preparing...", "Importing...", "Import complete, new files added: 0", "Conversion stopped",
                             "No input file(s) found. Please, add valid file(s) and try again!"}));
}

TEST_F(ConsoleTest, BadJpegsStopWithoutOutput) {
  const std::string good = test::ReadFile(Jpeg("good.jpg", 300, 200));
  test::WriteFile(dir / "garbage.jpg", std::string(3000, 'x'));
  test::WriteFile(dir / "header.jpg", good.substr(0, 40));
  FIBITMAP* png = test::MakePattern(10, 10, 24);
  FreeImage_Save(FIF_PNG, png, (dir / "png.jpg").c_str());
  FreeImage_Unload(png);
  mkdir((dir / "out").c_str(), 0755);
  for (const char* name : {"garbage.jpg", "header.jpg", "png.jpg"}) {
    const auto r = RunTarnwick({"-q", "-d", "-i", dir / name, "-o", dir / "out"});
    EXPECT_EQ(r.exitCode, 0);
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[lines.size() - 3], "Saving As: ") << name;
    EXPECT_EQ(lines[lines.size() - 2], "Not OK");
    EXPECT_EQ(lines.back(), "Conversion stopped");
  }
  EXPECT_TRUE(test::ListFolder(dir / "out").empty());
}

TEST_F(ConsoleTest, RelativeOutputFolderIsTheProgramFolder) {
  const std::string bin = std::filesystem::path(TARNWICK_BIN).parent_path().string() + "/";
  const std::string sub = "reltest-" + std::to_string(getpid());
  mkdir((bin + sub).c_str(), 0755);
  const std::string jpg = Jpeg("rel.jpg");
  EXPECT_EQ(RunTarnwick({"-q", "-i", jpg, "-o", "./" + sub}).out, "");
  EXPECT_EQ(RunTarnwick({"-q", "-i", jpg, "-o", sub + "/", "--filename-mask=second.tga"}).out, "");
  EXPECT_TRUE(test::Exists(bin + sub + "/rel.tga"));
  EXPECT_TRUE(test::Exists(bin + sub + "/second.tga"));
  // A bare input name reads from the current folder and writes beside the
  // program.
  EXPECT_EQ(RunTarnwick({"-q", "-i", "rel.jpg", "--filename-mask=" + sub + "/third.tga"}, dir.path()).out, "");
  EXPECT_TRUE(test::Exists(bin + sub + "/third.tga"));
  std::filesystem::remove_all(bin + sub);
}

TEST_F(ConsoleTest, SecondCopyEndsAtOnce) {
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  ASSERT_NE(runtime, nullptr);
  InstanceLock held("Tarnwick 2.7");
  ASSERT_TRUE(held.Held());
  const auto r = RunTarnwick({"-i", Jpeg("x.jpg"), "-o", dir.path()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(test::Exists(dir / "x.tga"));
  // Another runtime folder is another user session: no guard there.
  const std::string other = dir / "runtime";
  mkdir(other.c_str(), 0700);
  EXPECT_EQ(RunTarnwick({"-q", "-i", dir / "x.jpg", "-o", dir.path()}, {}, {"XDG_RUNTIME_DIR=" + other}).out, "");
  EXPECT_TRUE(test::Exists(dir / "x.tga"));
}

TEST_F(ConsoleTest, PermissionFaultsAsAnUnprivilegedUser) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
  if (test::RunProgram("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "true"}).exitCode != 0)
    GTEST_SKIP() << "setpriv cannot switch users here";
  chmod(dir.path().c_str(), 0777);
  // The binary must be reachable by the other user along its whole path.
  const std::string bin = TARNWICK_BIN;
  if (test::RunProgram("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", bin, "-v"}, {},
                       {"XDG_RUNTIME_DIR=" + dir.path()})
          .out != "2.7\n")
    GTEST_SKIP() << "the build folder is not readable by an unprivileged user";
  const std::string jpg = Jpeg("locked.jpg");
  chmod(jpg.c_str(), 0600);  // owned by root: unreadable for the other user
  mkdir((dir / "ro").c_str(), 0555);
  const std::string readable = Jpeg("open.jpg");
  chmod(readable.c_str(), 0644);
  auto runAsNobody = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", bin});
    return test::RunProgram("setpriv", args, {}, {"XDG_RUNTIME_DIR=" + dir.path()});
  };
  EXPECT_EQ(runAsNobody({"-q", "-i", jpg, "-o", dir.path()}).out, "Conversion stopped\n");
  EXPECT_EQ(runAsNobody({"-q", "-i", readable, "-o", dir / "ro"}).out, "Conversion stopped\n");
  EXPECT_TRUE(test::ListFolder(dir / "ro").empty());
}

}  // namespace
}  // namespace tarnwick
