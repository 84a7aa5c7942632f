#include "cli/console_run.h"

#include <cmath>
#include <cstdio>
#include <thread>

#include "core/formats.h"
#include "core/keywords.h"
#include "core/messages.h"
#include "core/product.h"
#include "core/text.h"
#include "engine/drawing.h"
#include "engine/input_set.h"
#include "engine/worker.h"
#include "platform/console.h"
#include "platform/files.h"

namespace tarnwick {
namespace {

// The extra debug lines of each output format, after its "BPP" line.
struct FormatLine {
  const char* ext;
  const char* label;
  const char* key;  // in group "Output"
};

constexpr FormatLine kFormatLines[] = {
    {"bmp", "BMP Compression: ", "BMP Compression"},   {"bmp", "BMP Color Table: ", "BMP Color Table"},
    {"exr", "EXR Compression: ", "EXR Compression"},   {"jpg", "JPG Quality: ", "JPG Quality"},
    {"jpg", "JPG Chroma Subsampling: ", "JPG Chroma"}, {"jpg", "JPG Save As: ", "JPG Save As"},
    {"png", "PNG Compression: ", "PNG Compression"},   {"png", "PNG Interlaced: ", "PNG Interlaced"},
    {"tga", "TGA Compression: ", "TGA Compression"},   {"tiff", "TIFF Compression: ", "TIFF Compression"},
    {"tiff", "TIFF Color Model: ", "TIFF Color Model"},
};

// The load options of each input family, for its debug lines.
struct InputLine {
  const char* family;
  const char* label;
  const char* key;  // in group "Input"
};

constexpr InputLine kInputLines[] = {
    {"dds", "DDS Load As: ", "DDS Load As"},
    {"gif", "GIF Frame Loading: ", "GIF Frame Loading"},
    {"ico", "ICO Frame Loading: ", "ICO Frame Loading"},
    {"raw", "RAW Load As: ", "RAW Load As"},
    {"raw", "RAW Header Size: ", "RAW Header Size"},
    {"raw", "RAW Image Width: ", "RAW Image Width"},
    {"raw", "RAW Image Height: ", "RAW Image Height"},
    {"raw", "RAW Tone Mapping: ", "RAW Tone Mapping"},
    {"tiff", "TIFF Frame Loading: ", "TIFF Frame Loading"},
};

// A setting as the debug listing shows it: keywords by their table in
// lower case, numbers in decimal, the gamma with two decimals, texts as
// they are.
std::string Shown(const Settings& s, const SettingDef& def) {
  if (def.keywordTable >= 0) return CodeToKeyword(def.keywordTable, static_cast<int>(GetInteger(s, def)));
  if (def.type == SettingType::Float) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(GetFloat(s, def)));
    return buf;
  }
  if (IsNumeric(def)) return std::to_string(GetInteger(s, def));
  return GetText(s, def);
}

class Listing {
 public:
  Listing(const Settings& s, bool debug) : s_(s), debug_(debug) {}
  bool debug() const { return debug_; }
  void Line(const std::string& text) const {
    if (debug_) PrintLine(text);
  }
  void Show(const char* label, const char* group, const char* key) const {
    if (debug_) PrintLine(label + Shown(s_, SettingOf(group, key)));
  }

 private:
  const Settings& s_;
  bool debug_;
};

void Error(const char* text) { PrintLine(std::string("Error: ") + text); }

// An input extension: the text after the last ".", when no blank or slash
// follows it and it does not begin the file name.
bool HasInputExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return false;
  if (path.find_first_of(" /\\", dot + 1) != std::string::npos) return false;
  if (dot == 0 || path[dot - 1] == '/' || path[dot - 1] == '\\') return false;
  return dot + 1 < path.size();
}

std::string BannerNotice() {
  std::string notice = kNoticeLine;
  for (size_t at; (at = notice.find("\xC2\xA9")) != std::string::npos;) notice.replace(at, 2, "(c)");
  return notice;
}

// The watermark font stays loaded from the checks to the end of the run.
struct FontRelease {
  RunContext& run;
  bool loaded = false;
  ~FontRelease() {
    if (loaded && run.drawing != nullptr) run.drawing->ReleaseFont();
  }
};

}  // namespace

void ConsoleRun(bool quiet, Settings& s, RunContext& run, WorkingState& state) {
  const Listing list(s, run.runMode == "DEBUG");
  if (!quiet) PrintLine(Lookup("General", "Preparing"));
  list.Line("Input: " + state.commandLineInput);

  if (!HasInputExtension(state.commandLineInput)) return Error("Invalid input file");
  run.inputPath = state.commandLineInput;
  if (FileSize(run.inputPath) <= 0) return Error("Invalid input file");

  if (run.outputFolder.empty()) run.outputFolder = FolderPart(run.inputPath);
  list.Line("Output: " + run.outputFolder);
  if (StartsWith(run.outputFolder, "..")) return Error("Incorrect output folder");
  if (!StartsWith(run.outputFolder, "/")) {
    // Relative output folders are taken from the program's folder.
    std::string relative = run.outputFolder;
    if (StartsWith(relative, "./")) relative.erase(0, 2);
    run.outputFolder = state.programFolder + relative;
  }
  if (!EndsWith(run.outputFolder, "/")) run.outputFolder += '/';
  if (!IsFolder(run.outputFolder)) return Error("Invalid output folder");

  if (run.inputFormat.empty()) run.inputFormat = InputFormats().front();
  if (run.outputExtension.empty()) run.outputExtension = OutputFormats().front();
  list.Line("Conversion: " + run.outputExtension);
  if (!IsOfferedOutput(run.outputExtension)) return Error("Invalid conversion type");

  for (const InputLine& line : kInputLines)
    if (run.inputFormat == line.family) list.Show(line.label, "Input", line.key);

  const std::string& ext = run.outputExtension;
  if (const SettingDef* depth = DepthSettingDef(ext)) {
    list.Show((ToUpper(ext) + " BPP: ").c_str(), "Output", depth->key);
    for (const FormatLine& line : kFormatLines)
      if (ext == line.ext) list.Show(line.label, "Output", line.key);
    if (!IsAllowedDepth(ext, static_cast<int>(GetInteger(s, *depth)))) {
      PrintLine("Error: Invalid " + ext + "-bpp value");
      return;
    }
    if (ext == "jpg" && (s.jpgQuality < 1 || s.jpgQuality > 100)) return Error("Invalid jpg-quality value");
  }

  if (s.doImageRotation == 1) {
    list.Show("Image Rotation Type: ", "Transform", "Image Rotation Type");
    list.Show("Image Rotation: ", "Transform", "Image Rotation");
    list.Show("Image Rotation Back Color: ", "Transform", "Image Rotation Back Color");
  }
  if (s.doImageResize == 1) {
    list.Line("Width: " + std::to_string(s.imageWidth) + " " + CodeToKeyword(10, s.imageWidthUnit));
    if (s.imageWidth == 0) return Error("Invalid width value");
    list.Line("Height: " + std::to_string(s.imageHeight) + " " + CodeToKeyword(10, s.imageHeightUnit));
    if (s.imageHeight == 0) return Error("Invalid height value");
    list.Show("Keep Aspect Ratio: ", "Transform", "Keep Aspect Ratio");
    list.Show("Image Resize Type: ", "Transform", "Image Resize Type");
    list.Show("Image Resize Algorithm: ", "Transform", "Image Resize Algorithm");
  }
  list.Show("Flip Horizontal: ", "Transform", "Do Image Flip Horizontal");
  list.Show("Flip Vertical: ", "Transform", "Do Image Flip Vertical");

  if (s.doImageColorCorrection == 1) {
    list.Show("Brightness: ", "Adjustment", "Image Brightness");
    if (s.imageBrightness < -100 || s.imageBrightness > 100) return Error("Invalid brightness value");
    list.Show("Contrast: ", "Adjustment", "Image Contrast");
    if (s.imageContrast < -100 || s.imageContrast > 100) return Error("Invalid contrast value");
    list.Show("Gamma: ", "Adjustment", "Image Gamma");
    if (std::isnan(s.imageGamma) || s.imageGamma < 0.01f || s.imageGamma > 9.99f) return Error("Invalid gamma value");
    list.Show("Invert: ", "Adjustment", "Image Invert");
  }
  list.Show("Greyscale: ", "Adjustment", "Do Image Greyscale");
  if (s.doImageThreshold == 1) list.Show("Image Threshold: ", "Adjustment", "Image Threshold");

  list.Show("Frame: ", "Frame", "Do Frame");
  if (s.doFrame == 1) {
    list.Show("Frame left: ", "Frame", "Solid Left");
    list.Show("Frame right: ", "Frame", "Solid Right");
    list.Show("Frame top: ", "Frame", "Solid Top");
    list.Show("Frame bottom: ", "Frame", "Solid Bottom");
    list.Show("Frame left color: ", "Frame", "Solid Left Color");
    list.Show("Frame right color: ", "Frame", "Solid Right Color");
    list.Show("Frame top color: ", "Frame", "Solid Top Color");
    list.Show("Frame bottom color: ", "Frame", "Solid Bottom Color");
    list.Show("Frame opacity: ", "Frame", "Solid Opacity");
  }

  list.Show("Watermark: ", "Watermark", "Do Watermark");
  FontRelease font{run};
  if (s.doWatermark == 1) {
    list.Show("Watermark text: ", "Watermark", "Text");
    list.Show("Watermark font: ", "Watermark", "Font");
    list.Show("Watermark font size: ", "Watermark", "Font Size");
    list.Show("Watermark font leading: ", "Watermark", "Font Leading");
    list.Show("Watermark font color: ", "Watermark", "Font Color");
    list.Show("Watermark font style: ", "Watermark", "Font Style");
    list.Show("Watermark font effect: ", "Watermark", "Font Effect");
    list.Show("Watermark text antialiasing: ", "Watermark", "Text Antialiasing");
    list.Show("Watermark text alignment: ", "Watermark", "Text Alignment");
    list.Show("Watermark text padding: ", "Watermark", "Text Padding");
    list.Show("Watermark text opacity: ", "Watermark", "Text Opacity");
    list.Show("Watermark background color: ", "Watermark", "Back Color");
    list.Show("Watermark background opacity: ", "Watermark", "Back Opacity");
    list.Show("Watermark boundary: ", "Watermark", "Text Boundary");
    list.Show("Watermark position: ", "Watermark", "Text Position");
    list.Line("Watermark offset (x/y): " + std::to_string(s.textXOffset) + "/" + std::to_string(s.textYOffset));
    list.Show("Watermark rotation: ", "Watermark", "Text Rotation");
    list.Show("Watermark size/mode: ", "Watermark", "Text Size");
    font.loaded = LoadWatermarkFont(s, run);
    if (!font.loaded) return Error("Invalid watermark font");
  } else if (s.doWatermark == 2) {
    list.Show("Watermark image: ", "Watermark", "Image");
    list.Show("Watermark greyscale: ", "Watermark", "Image Greyscale");
    list.Show("Watermark opacity: ", "Watermark", "Image Opacity");
    list.Show("Watermark boundary: ", "Watermark", "Image Boundary");
    list.Show("Watermark position: ", "Watermark", "Image Position");
    list.Line("Watermark offset (x/y): " + std::to_string(s.imageXOffset) + "/" + std::to_string(s.imageYOffset));
    list.Show("Watermark rotation: ", "Watermark", "Image Rotation");
    list.Show("Watermark size/mode: ", "Watermark", "Image Size");
    if (FileSize(s.image) <= 0) return Error("Invalid watermark image");
  }

  list.Show("Filename Mask: ", "Advanced", "Filename Mask");
  list.Show("File Timestamp: ", "Advanced", "File Timestamp");
  if (s.fileTimestamp == 2) list.Show("Custom Timestamp: ", "Advanced", "Custom Timestamp");
  list.Show("Keep Subfolders: ", "Advanced", "Keep Subfolders");

  run.outputFormatId = OutputFormatId(ext);
  if (const auto depth = DepthSetting(s, ext)) run.outputDepth = *depth;
  run.saveFlags = SaveFlags(s, ext);
  run.autoDepth = run.outputDepth == 0;
  PrepareDrawing(s, run);

  if (!quiet) PrintLine(Lookup("General", "Importing"));
  const std::string inputExt = ToLower(PathExtension(run.inputPath));
  const int added = (inputExt == "txt" || inputExt == "lst") ? 0 : AddInputFile(run.inputPath, GlobalInputSet(), run);
  if (!quiet) PrintLine(Format(Lookup("Msg", "Import complete"), std::to_string(added)));
  if (added == 0) {
    PrintLine(Lookup("Msg", "Conversion is not complete"));
    PrintLine(Lookup("Msg", "Empty input files"));
    return;
  }

  if (!quiet) PrintLine(Lookup("General", "Converting"));
  Progress progress;
  progress.Start();
  std::thread worker([&] { WorkerMain(s, run, GlobalInputSet(), progress); });
  worker.join();
  int32_t converted;
  {
    std::lock_guard<std::mutex> guard(progress.lock);
    converted = progress.convertedCount;
  }
  if (converted > 0) {
    if (!quiet) {
      PrintLine(Lookup("Msg", "Conversion complete"));
      PrintLine(Format(Lookup("Msg", "Files converted"), std::to_string(converted), std::to_string(added)));
    }
  } else {
    PrintLine(Lookup("Msg", "Conversion is not complete"));
  }
}

bool ReportOrRun(const CommandLine& cl, Settings& s, RunContext& run, WorkingState& state) {
  const std::string title = TitleText(kProductName, kProgramVersion);
  if (!cl.error.empty()) {
    SetConsoleTitle(title);
    PrintLine("Error: " + cl.error);
    if (cl.pause) WaitForKey();
    return true;
  }
  if (!run.consoleMode) return false;
  SetConsoleTitle(title);
  if (!cl.quiet) {
    PrintLine(title);
    PrintLine(BannerNotice());
    PrintLine(kWebSite);
    PrintLine(" ");
  }
  ConsoleRun(cl.quiet, s, run, state);
  if (cl.pause) {
    PrintLine("Press any key to exit.");
    WaitForKey();
  }
  return true;
}

}  // namespace tarnwick
