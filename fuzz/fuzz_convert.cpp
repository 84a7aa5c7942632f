// The whole conversion of one input file with the image steps on. The first
// kSettingBytes bytes choose the steps and their values; the rest is the
// input file. Exif orientation needs no setting: the loader applies it.
//
// Frames and watermarks stay off: they draw through the Qt module, which
// this harness does not build or load.
#include <FreeImage.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/formats.h"
#include "core/settings.h"
#include "engine/image_io.h"
#include "engine/pipeline.h"
#include "engine/run_context.h"
#include "fuzz/fuzz_support.h"

using namespace tarnwick;

namespace {

constexpr size_t kSettingBytes = 10;
constexpr int kDepths[] = {0, 8, 16, 24, 32};
constexpr const char* kBackColours[] = {"000000", "FFFFFF", "FF8000", ""};
// Inputs whose frame header claims more pixels than this are skipped, so
// that every run stays a few milliseconds long; the product's own limit is
// far above. (A file without a frame header found this way is still run.)
constexpr uint64_t kMaxFuzzPixels = 160 * 160;

bool Bit(uint8_t byte, int bit) { return ((byte >> bit) & 1) != 0; }

// The steps and values the setting bytes choose, within the ranges that a
// conversion start accepts.
void ChooseSettings(const uint8_t* b, Settings& s) {
  Defaults(s, true, {}, 0);
  s.doImageRotation = b[0] != 0 ? 1 : 0;
  s.imageRotation = b[0] * 360 / 256;
  s.imageRotationType = b[1] & 3;  // 2 and 3 are no rotation type
  s.imageRotationBackColor = kBackColours[b[2] >> 6];

  s.doImageResize = Bit(b[1], 2) ? 1 : 0;
  s.imageWidthUnit = Bit(b[1], 3) ? 1 : 0;
  s.imageHeightUnit = Bit(b[1], 4) ? 1 : 0;
  // Small targets: up to 48 pixels, or up to 200 percent of a small image.
  s.imageWidth = 1 + b[4] % (s.imageWidthUnit == 1 ? 200 : 48);
  s.imageHeight = 1 + b[5] % (s.imageHeightUnit == 1 ? 200 : 48);
  s.keepAspectRatio = Bit(b[1], 5) ? 1 : 0;
  s.imageResizeType = Bit(b[1], 6) ? 1 : 0;
  s.imageResizeAlgorithm = (b[3] / 5) % 6;

  s.doImageFlipHorizontal = Bit(b[1], 7) ? 1 : 0;
  s.doImageFlipVertical = Bit(b[2], 0) ? 1 : 0;

  s.doImageColorCorrection = Bit(b[2], 1) ? 1 : 0;
  s.imageInvert = Bit(b[2], 2) ? 1 : 0;
  s.imageBrightness = b[6] % 201 - 100;
  s.imageContrast = b[7] % 201 - 100;
  s.imageGamma = 0.01f + static_cast<float>(b[8]) * (9.98f / 255.0f);

  s.doImageGreyscale = Bit(b[2], 3) ? 1 : 0;
  s.doImageThreshold = Bit(b[2], 4) ? 1 : 0;
  s.imageThreshold = b[9];

  s.tgaCompression = Bit(b[2], 5) ? 1 : 0;
  s.tgaBpp = kDepths[b[3] % 5];

  s.doFrame = 0;
  s.doWatermark = 0;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename());
  return names;
}

// A saved file must read back as the Targa the run context describes.
void CheckWritten(const RunContext& run) {
  FIBITMAP* back = FreeImage_Load(FIF_TARGA, run.outputPath.c_str(), 0);
  if (back == nullptr) fuzz::Fail("the saved file does not read back", run.outputPath);
  const int width = static_cast<int>(FreeImage_GetWidth(back));
  const int height = static_cast<int>(FreeImage_GetHeight(back));
  const int bpp = static_cast<int>(FreeImage_GetBPP(back));
  FreeImage_Unload(back);
  if (width != run.outputWidth || height != run.outputHeight)
    fuzz::Fail("the saved size differs from the reported one");
  if (bpp != run.outputDepth) fuzz::Fail("the saved depth differs from the reported one");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kSettingBytes) return -1;
  const uint8_t* image = data + kSettingBytes;
  const size_t imageSize = size - kSettingBytes;
  if (ClaimedPixels(image, imageSize) > kMaxFuzzPixels) return -1;

  static const std::string input = fuzz::ScratchFolder() + "in.jpg";
  static const std::string outFolder = [] {
    const std::string folder = fuzz::ScratchFolder() + "out/";
    std::filesystem::create_directory(folder);
    return folder;
  }();
  if (!fuzz::WriteBytes(input, image, imageSize)) fuzz::Fail("cannot write the input file");

  Settings s;
  ChooseSettings(data, s);
  RunContext run;
  run.inputPath = input;
  run.outputFolder = outFolder;
  run.outputExtension = "tga";
  run.outputFormatId = OutputFormatId("tga");
  run.outputDepth = s.tgaBpp;
  run.autoDepth = s.tgaBpp == 0;
  run.saveFlags = SaveFlags(s, "tga");
  run.runNumber = 1;
  run.counter = 1;

  const bool ok = ConvertOne(s, run);

  // A run leaves the finished file or nothing: no temporary file stays.
  const std::vector<std::string> names = Names(outFolder);
  if (ok) {
    if (names.size() != 1 || outFolder + names[0] != run.outputPath) fuzz::Fail("a saved run left other files");
    CheckWritten(run);
  } else if (!names.empty()) {
    fuzz::Fail("a failed run left a file", names[0]);
  }
  std::error_code ec;
  for (const std::string& name : names) std::filesystem::remove(outFolder + name, ec);
  return 0;
}
