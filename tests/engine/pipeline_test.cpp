#include "engine/pipeline.h"

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/formats.h"
#include "engine/image_io.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace tarnwick {
namespace {

class PipelineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Defaults(s, true, {}, 0);
    run.outputFolder = dir.path();
    run.outputExtension = "tga";
    run.outputFormatId = FIF_TARGA;
    run.autoDepth = true;
    run.counter = 1;
    run.runNumber = 1;
  }
  bool Convert(const std::string& input) {
    run.inputPath = input;
    if (run.autoDepth) run.outputDepth = 0;
    return ConvertOne(s, run);
  }
  static FIBITMAP* Load(const std::string& path, FREE_IMAGE_FORMAT fif, int flags = 0) {
    return FreeImage_Load(fif, path.c_str(), flags);
  }
  static bool SamePixels(FIBITMAP* a, FIBITMAP* b) {
    if (FreeImage_GetWidth(a) != FreeImage_GetWidth(b) || FreeImage_GetHeight(a) != FreeImage_GetHeight(b) ||
        FreeImage_GetBPP(a) != FreeImage_GetBPP(b))
      return false;
    const unsigned bytes = FreeImage_GetLine(a);
    for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y)
      if (memcmp(FreeImage_GetScanLine(a, static_cast<int>(y)), FreeImage_GetScanLine(b, static_cast<int>(y)), bytes) != 0)
        return false;
    return true;
  }

  test::TempDir dir;
  Settings s;
  RunContext run;
};

TEST_F(PipelineTest, PlainRunWritesTheDecodedPixels) {
  const std::string jpg = test::MakeJpeg(dir / "photo.jpg", 123, 77);
  ASSERT_TRUE(Convert(jpg));
  EXPECT_EQ(run.outputPath, dir / "photo.tga");
  EXPECT_EQ(run.outputDepth, 24);
  EXPECT_EQ(run.sourceDepth, 24);
  FIBITMAP* decoded = Load(jpg, FIF_JPEG, JPEG_ACCURATE);
  FIBITMAP* written = Load(run.outputPath, FIF_TARGA);
  ASSERT_NE(written, nullptr);
  EXPECT_TRUE(SamePixels(decoded, written));
  // Uncompressed 24-bit Targa: image type 2, 24 bits per pixel.
  const std::string bytes = test::ReadFile(run.outputPath);
  EXPECT_EQ(bytes[2], 2);
  EXPECT_EQ(bytes[16], 24);
  EXPECT_GE(bytes.size(), 18u + 123u * 77u * 3u);
  FreeImage_Unload(decoded);
  FreeImage_Unload(written);
  // No temporary file is left beside the output.
  EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"photo.jpg", "photo.tga"}));
}

TEST_F(PipelineTest, Depths) {
  const std::string colour = test::MakeJpeg(dir / "c.jpg", 64, 48);
  const std::string grey = test::MakeJpeg(dir / "g.jpg", 64, 48, 8);
  const struct {
    const std::string* input;
    int depth;
    int writtenBpp;
    int tgaType;  // 1 colour-mapped, 2 true colour, 3 grey
  } cases[] = {{&grey, 0, 8, 1}, {&colour, 0, 24, 2}, {&colour, 16, 16, 2}, {&colour, 32, 32, 2}, {&colour, 8, 8, 1}};
  for (const auto& c : cases) {
    run.autoDepth = c.depth == 0;
    run.outputDepth = c.depth;
    ASSERT_TRUE(Convert(*c.input)) << c.depth;
    const std::string bytes = test::ReadFile(run.outputPath);
    EXPECT_EQ(bytes[2], c.tgaType) << c.depth;
    FIBITMAP* written = Load(run.outputPath, FIF_TARGA);
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(static_cast<int>(FreeImage_GetBPP(written)), c.writtenBpp) << c.depth;
    if (c.depth == 32) {
      for (int x = 0; x < 64; x += 9) EXPECT_EQ(FreeImage_GetScanLine(written, 10)[x * 4 + FI_RGBA_ALPHA], 255);
    }
    if (c.depth == 16) {
      EXPECT_EQ(FreeImage_GetGreenMask(written), FI16_555_GREEN_MASK);
    }
    if (c.depth == 8 && c.input == &colour) {
      EXPECT_EQ(FreeImage_GetColorType(written), FIC_PALETTE);
    }
    FreeImage_Unload(written);
  }
}

TEST_F(PipelineTest, ExifOrientationComesOutUpright) {
  const std::string plain = test::MakeJpeg(dir / "plain.jpg", 80, 40);
  test::WriteFile(dir / "turned.jpg", test::WithExifOrientation(test::ReadFile(plain), 6));
  s.filenameMask = "%filename%_%width%x%height%.%ext%";
  ASSERT_TRUE(Convert(dir / "turned.jpg"));
  EXPECT_EQ(run.outputPath, dir / "turned_40x80.tga");
  FIBITMAP* written = Load(run.outputPath, FIF_TARGA);
  EXPECT_EQ(FreeImage_GetWidth(written), 40u);
  EXPECT_EQ(FreeImage_GetHeight(written), 80u);
  FreeImage_Unload(written);
}

// Every orientation comes out as FreeImage's own Exif rotation turns it.
TEST_F(PipelineTest, EveryExifOrientationMatchesTheLibrarysTurn) {
  const std::string plain = test::ReadFile(test::MakeJpeg(dir / "plain.jpg", 24, 16));
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const std::string input = dir / ("o" + std::to_string(orientation) + ".jpg");
    test::WriteFile(input, test::WithExifOrientation(plain, orientation));
    ASSERT_TRUE(Convert(input)) << orientation;
    FIBITMAP* expected = Load(input, FIF_JPEG, JPEG_ACCURATE | JPEG_EXIFROTATE);
    FIBITMAP* written = Load(run.outputPath, FIF_TARGA);
    ASSERT_NE(written, nullptr) << orientation;
    EXPECT_EQ(FreeImage_GetWidth(written), orientation >= 5 ? 16u : 24u) << orientation;
    EXPECT_TRUE(SamePixels(expected, written)) << orientation;
    FreeImage_Unload(expected);
    FreeImage_Unload(written);
  }
}

// Exif segments that FreeImage's Exif reader follows far outside the file
// (a crash): a first directory that claims 65535 entries (the segment the
// conversion fuzzer found) and a thumbnail whose offset and size wrap
// around 32 bits. The picture converts, turned where the orientation can
// be read.
TEST_F(PipelineTest, MalformedExifIsNeverFollowedOutsideTheFile) {
  const auto le16 = [](uint32_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
  };
  const auto le32 = [&](uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); };
  const auto entry = [&](uint32_t tag, uint32_t type, uint32_t value) {
    return le16(tag) + le16(type) + le32(1) + le32(value);
  };
  const auto segment = [&](const std::string& tiff) {
    const std::string payload = std::string("Exif\0\0", 6) + "II*" + std::string(1, '\0') + le32(8) + tiff;
    const size_t length = payload.size() + 2;
    return std::string("\xFF\xE1") + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + payload;
  };
  const struct {
    const char* name;
    std::string tiff;  // after the TIFF header, whose first directory is at 8
    unsigned width, height;
  } cases[] = {
      {"entries", std::string(18, '\xFF'), 24, 16},
      {"thumbnail",
       le16(1) + entry(0x0112, 3, 6) + le32(26) +  // orientation 6, then the thumbnail's directory at 26
           le16(2) + entry(0x0201, 4, 0xFFFFFFF0) + entry(0x0202, 4, 0x20) + le32(0),
       16, 24},
  };
  const std::string plain = test::ReadFile(test::MakeJpeg(dir / "plain.jpg", 24, 16));
  for (const auto& c : cases) {
    const std::string input = dir / (std::string(c.name) + ".jpg");
    test::WriteFile(input, plain.substr(0, 2) + segment(c.tiff) + plain.substr(2));
    ASSERT_TRUE(Convert(input)) << c.name;
    FIBITMAP* written = Load(run.outputPath, FIF_TARGA);
    ASSERT_NE(written, nullptr) << c.name;
    EXPECT_EQ(FreeImage_GetWidth(written), c.width) << c.name;
    EXPECT_EQ(FreeImage_GetHeight(written), c.height) << c.name;
    FreeImage_Unload(written);
  }
}

TEST_F(PipelineTest, RotationThenResizeGiveTheNamedSize) {
  s.doImageRotation = 1;
  s.imageRotation = 90;
  s.doImageResize = 1;
  s.imageWidth = s.imageHeight = 50;
  s.imageWidthUnit = s.imageHeightUnit = 1;
  s.filenameMask = "%width%x%height%";
  ASSERT_TRUE(Convert(test::MakeJpeg(dir / "r.jpg", 64, 48)));
  EXPECT_EQ(run.outputPath, dir / "24x32");
}

TEST_F(PipelineTest, BadInputsFailWithoutOutput) {
  test::WriteFile(dir / "empty.jpg", "");
  test::WriteFile(dir / "garbage.jpg", std::string(5000, '\x5A'));
  FIBITMAP* png = test::MakePattern(20, 20, 24);
  FreeImage_Save(FIF_PNG, png, (dir / "png.jpg").c_str());
  FreeImage_Unload(png);
  const std::string good = test::ReadFile(test::MakeJpeg(dir / "src.jpg", 200, 150));
  test::WriteFile(dir / "truncated.jpg", good.substr(0, good.size() / 3));
  mkdir((dir / "folder.jpg").c_str(), 0755);
  for (const char* name : {"empty.jpg", "garbage.jpg", "png.jpg", "folder.jpg", "missing.jpg"}) {
    EXPECT_FALSE(Convert(dir / name)) << name;
  }
  // A truncated JPEG decodes what it has (libjpeg fills the rest); whatever
  // it gives, it must not crash and must leave at most a whole file.
  Convert(dir / "truncated.jpg");
  for (const std::string& name : test::ListFolder(dir.path())) EXPECT_NE(name[0], '.') << name;
  EXPECT_FALSE(test::Exists(dir / "empty.tga"));
  EXPECT_FALSE(test::Exists(dir / "garbage.tga"));
  EXPECT_FALSE(test::Exists(dir / "png.tga"));
}

TEST_F(PipelineTest, NeverOverwritesItsInput) {
  const std::string jpg = test::MakeJpeg(dir / "self.jpg", 32, 32);
  const std::string before = test::ReadFile(jpg);
  s.filenameMask = "%filename%.jpg";
  EXPECT_FALSE(Convert(jpg));
  EXPECT_EQ(test::ReadFile(jpg), before);
}

TEST_F(PipelineTest, FailedSaveKeepsTheOldFile) {
  const std::string jpg = test::MakeJpeg(dir / "a.jpg", 64, 64);
  test::WriteFile(dir / "a.tga", "previous");
  SetWriteHook([](int, const void*, size_t) -> long {
    errno = ENOSPC;
    return -1;
  });
  const bool ok = Convert(jpg);
  SetWriteHook(nullptr);
  EXPECT_FALSE(ok);
  EXPECT_EQ(test::ReadFile(dir / "a.tga"), "previous");
  EXPECT_EQ(test::ListFolder(dir.path()), (std::vector<std::string>{"a.jpg", "a.tga"}));
  // A folder below the output folder that does not exist fails the save.
  s.filenameMask = "nosuch/%filename%.%ext%";
  EXPECT_FALSE(Convert(jpg));
}

TEST_F(PipelineTest, HugeClaimedSizeIsRefusedBeforeDecoding) {
  // A tiny JPEG whose frame header claims 65500 by 65500 pixels.
  std::string bytes = test::ReadFile(test::MakeJpeg(dir / "small.jpg", 16, 16));
  const size_t sof = bytes.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  bytes[sof + 5] = bytes[sof + 7] = '\xFF';
  bytes[sof + 6] = bytes[sof + 8] = '\xDC';
  test::WriteFile(dir / "bomb.jpg", bytes);
  EXPECT_EQ(LoadJpeg(dir / "bomb.jpg"), nullptr);
  EXPECT_FALSE(Convert(dir / "bomb.jpg"));
}

TEST_F(PipelineTest, HugeClaimedSizeIsFoundPastBytesTheDecoderSkips) {
  const std::string small = test::ReadFile(test::MakeJpeg(dir / "small.jpg", 16, 16));
  const size_t sof = small.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  // A frame header that claims 16000 by 16000 pixels, just above the limit:
  // directly, after stray bytes that the decoder skips with a warning (one
  // such byte hid the header from the check and let the whole bitmap be
  // decoded), and after markers without a length: a stuffed 0xFF 0x00, a
  // restart, and unknown ones that the decoder is let past (the conversion
  // fuzzer's input: 0xFF 0x32 read as a segment of 0xFF32 bytes jumped over
  // the frame header).
  std::string bomb = small;
  bomb[sof + 5] = bomb[sof + 7] = '\x3E';
  bomb[sof + 6] = bomb[sof + 8] = '\x80';
  const struct {
    const char* name;
    std::string before;  // inserted before the frame header
  } cases[] = {
      {"direct", ""},
      {"stray", std::string("\x00", 1)},
      {"strays", "ab\xFE"},
      {"stuffed", std::string("\xFF\x00", 2)},
      {"restart", "\xFF\xD3"},
      {"unknown", "\xFF\x32\xFF\x32"},
      {"reserved", "\xFF\xF0\xFF\xFF"},
      {"dhp", "\xFF\xDE\x7F\xFF"},
      {"short segment", std::string("\xFF\xE5\x00\x01", 4)},
  };
  for (const auto& c : cases) {
    const std::string path = dir / (std::string(c.name) + ".jpg");
    test::WriteFile(path, bomb.substr(0, sof) + c.before + bomb.substr(sof));
    FIBITMAP* loaded = LoadJpeg(path);
    EXPECT_EQ(loaded, nullptr) << c.name;
    if (loaded != nullptr) FreeImage_Unload(loaded);
    EXPECT_FALSE(Convert(path)) << c.name;
  }
  // The same stray byte before an honest frame header still decodes.
  test::WriteFile(dir / "fine.jpg", small.substr(0, sof) + std::string("\x00", 1) + small.substr(sof));
  FIBITMAP* fine = LoadJpeg(dir / "fine.jpg");
  ASSERT_NE(fine, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(fine), 16u);
  FreeImage_Unload(fine);
}

}  // namespace
}  // namespace tarnwick
