#include "core/formats.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include "core/messages.h"

namespace tarnwick {
namespace {

class FormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RebuildAcceptedInputs();
    Defaults(s, true, {}, 0);
  }
  Settings s;
};

TEST_F(FormatsTest, IdsMatchFreeImage) {
  const std::pair<const char*, FREE_IMAGE_FORMAT> ids[] = {
      {"bmp", FIF_BMP}, {"exr", FIF_EXR}, {"gif", FIF_GIF}, {"hdr", FIF_HDR},   {"ico", FIF_ICO},
      {"j2k", FIF_J2K}, {"jng", FIF_JNG}, {"jp2", FIF_JP2}, {"jpg", FIF_JPEG},  {"jxr", FIF_JXR},
      {"pbm", FIF_PBM}, {"pfm", FIF_PFM}, {"pgm", FIF_PGM}, {"png", FIF_PNG},   {"ppm", FIF_PPM},
      {"tga", FIF_TARGA}, {"tiff", FIF_TIFF}, {"wbmp", FIF_WBMP}, {"webp", FIF_WEBP}, {"xpm", FIF_XPM},
  };
  EXPECT_EQ(OutputFormatTable().size(), 20u);
  for (const auto& [ext, fif] : ids) EXPECT_EQ(OutputFormatId(ext), fif) << ext;
  EXPECT_EQ(OutputDepths("tga"), "8,16,24,32");
  EXPECT_EQ(OutputDescription("tga"), "Truevision Targa");
  EXPECT_EQ(OutputFormatId("psd"), -1);
}

TEST_F(FormatsTest, InputExtensions) {
  EXPECT_EQ(InputExtensionTable().size(), 79u);
  EXPECT_EQ(AcceptedInputs(), (std::vector<std::string>{"jpg", "jpeg", "jpe", "jif"}));
  EXPECT_TRUE(IsAcceptedInput("JPEG"));
  EXPECT_FALSE(IsAcceptedInput("tif"));
  EXPECT_EQ(InputFamily("apm"), "wmf");
  EXPECT_EQ(InputDescription("apm"), "Aldus Placeable Metafile");
  EXPECT_EQ(InputDescription("wmz"), "Windows Metafile Format");
  EXPECT_EQ(InputDescription("rwl"), "Leica Camera RAW Image");
  EXPECT_FALSE(IsOfferedOutput("png"));
  EXPECT_TRUE(IsOfferedOutput("tga"));
  EXPECT_FALSE(IsOfferedOutput("TGA"));
}

TEST_F(FormatsTest, SaveFlags) {
  EXPECT_EQ(SaveFlags(s, "tga"), 0);
  s.tgaCompression = 1;
  EXPECT_EQ(SaveFlags(s, "tga"), TARGA_SAVE_RLE);
  s.jpgQuality = 95;
  s.jpgChroma = 2;
  s.jpgSaveAs = 3;
  EXPECT_EQ(SaveFlags(s, "jpg"), 0x605F);
  s.pngCompression = 0;
  s.pngInterlaced = 1;
  EXPECT_EQ(SaveFlags(s, "png"), 0x300);
  s.pngCompression = 3;
  EXPECT_EQ(SaveFlags(s, "png"), PNG_Z_BEST_COMPRESSION | PNG_INTERLACED);
  s.exrCompression = 1;
  EXPECT_EQ(SaveFlags(s, "exr"), EXR_ZIP);
  s.exrCompression = 9;
  EXPECT_EQ(SaveFlags(s, "exr"), 0);
  s.tiffCompression = 1;
  s.tiffColorModel = 1;
  EXPECT_EQ(SaveFlags(s, "tiff"), TIFF_CCITTFAX3 | TIFF_CMYK);
  s.bmpCompression = 6;
  EXPECT_EQ(SaveFlags(s, "bmp"), 0);
  EXPECT_EQ(SaveFlags(s, "webp"), WEBP_LOSSLESS);
  EXPECT_EQ(SaveFlags(s, "jxr"), JXR_LOSSLESS);
  EXPECT_EQ(SaveFlags(s, "gif"), 0);
  EXPECT_EQ(SaveFlags(s, "nope"), 0);
}

TEST_F(FormatsTest, DepthsAndDepthSettings) {
  s.tgaBpp = 16;
  EXPECT_EQ(DepthSetting(s, "tga"), 16);
  EXPECT_EQ(DepthSetting(s, "nope"), std::nullopt);
  EXPECT_TRUE(IsAllowedDepth("tga", 0));
  EXPECT_TRUE(IsAllowedDepth("tga", 32));
  EXPECT_FALSE(IsAllowedDepth("tga", 7));
  EXPECT_FALSE(IsAllowedDepth("tga", 48));
}

TEST_F(FormatsTest, DialogFilter) {
  BuildCatalogue();
  EXPECT_EQ(InputDialogFilter(),
            "All Supported Files|*.jpg;*.jpeg;*.jpe;*.jif|JPEG File|*.jif;*.jpe;*.jpeg;*.jpg|All Files (*.*)|*.*");
}

}  // namespace
}  // namespace tarnwick
