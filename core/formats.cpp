#include "core/formats.h"

#include <algorithm>

#include "core/messages.h"
#include "core/text.h"

namespace tarnwick {
namespace {

// FreeImage format ids and save flags, as FreeImage publishes them. The
// catalogue is kept free of FreeImage.h so that every layer can read it.
constexpr OutputFormat kOutputFormats[] = {
    {0, "bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
    {29, "exr", "ILM OpenEXR", "96"},
    {25, "gif", "Graphics Interchange Format", "8"},
    {26, "hdr", "High Dynamic Range Image", "96"},
    {1, "ico", "Windows Icon", "1,4,8,16,24,32"},
    {30, "j2k", "JPEG-2000 Codestream", "8,24,32,48"},
    {3, "jng", "JPEG Network Graphics", "24,32"},
    {31, "jp2", "JPEG-2000 File Format", "8,24,32,48"},
    {2, "jpg", "JPEG File Format", "8,24"},
    {36, "jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96"},
    {7, "pbm", "Portable Bitmap", "1"},
    {32, "pfm", "Portable Floatmap", "96"},
    {11, "pgm", "Portable Greymap", "8"},
    {13, "png", "Portable Network Graphics", "1,4,8,24,32,48"},
    {14, "ppm", "Portable Pixelmap", "24,48"},
    {17, "tga", "Truevision Targa", "8,16,24,32"},
    {18, "tiff", "Tagged Image File Format", "1,4,8,24,32,48,96"},
    {19, "wbmp", "Wireless Bitmap", "1"},
    {35, "webp", "Google WebP Image Format", "24,32"},
    {23, "xpm", "X11 Pixmap Format", "24"},
};

constexpr const char* kRaw = "Camera RAW Image";
constexpr InputExtension kInputExtensions[] = {
    {"bmp", "bmp", "Windows or OS/2 Bitmap"},
    {"rle", "bmp", "Windows or OS/2 Bitmap"},
    {"dib", "bmp", "Windows or OS/2 Bitmap"},
    {"dds", "dds", "DirectDraw Surface File"},
    {"emf", "emf", "Enhanced Metafile Format"},
    {"emz", "emf", "Enhanced Metafile Format"},
    {"gif", "gif", "GIF File"},
    {"hdr", "hdr", "High Dynamic Range File"},
    {"hdri", "hdr", "High Dynamic Range File"},
    {"ico", "ico", "Windows Icon"},
    {"jpg", "jpg", "JPEG File"},
    {"jpeg", "jpg", "JPEG File"},
    {"jpe", "jpg", "JPEG File"},
    {"jif", "jpg", "JPEG File"},
    {"pcd", "pcd", "Kodak PhotoCD File"},
    {"pcd1", "pcd", "Kodak PhotoCD File"},
    {"pcds", "pcd", "Kodak PhotoCD File"},
    {"ppcd", "pcd", "Kodak PhotoCD File"},
    {"pcx", "pcx", "ZSoft Paintbrush File"},
    {"pic", "pic", "Macintosh PICT"},
    {"pict", "pic", "Macintosh PICT"},
    {"pct", "pic", "Macintosh PICT"},
    {"png", "png", "Portable Network Graphics"},
    {"psd", "psd", "Adobe Photoshop File"},
    {"tga", "tga", "Truevision Targa"},
    {"targa", "tga", "Truevision Targa"},
    {"tiff", "tiff", "Tagged Image File Format"},
    {"tif", "tiff", "Tagged Image File Format"},
    {"wmf", "wmf", "Windows Metafile Format"},
    {"wmz", "wmf", "Windows Metafile Format"},
    {"apm", "wmf", "Aldus Placeable Metafile"},
    {"raw", "raw", kRaw},
    {"raw1", "raw", kRaw},
    {"raw2", "raw", kRaw},
    {"3fr", "raw", "Hasselblad Camera RAW Image"},
    {"arw", "raw", "Sony Camera RAW Image"},
    {"sr2", "raw", "Sony Camera RAW Image"},
    {"srf", "raw", "Sony Camera RAW Image"},
    {"bay", "raw", "Casio Camera RAW Image"},
    {"bmq", "raw", "NuCore RAW Image"},
    {"cap", "raw", "Phase One Camera RAW Image"},
    {"iiq", "raw", "Phase One Camera RAW Image"},
    {"eip", "raw", "Phase One Camera RAW Image"},
    {"cine", "raw", "Phantom RAW Image"},
    {"cr2", "raw", "Canon Camera RAW Image"},
    {"crw", "raw", "Canon Camera RAW Image"},
    {"cs1", "raw", "Capture Shop RAW Image"},
    {"dc2", "raw", "Kodak Camera RAW Image"},
    {"dcr", "raw", "Kodak Camera RAW Image"},
    {"drf", "raw", "Kodak Camera RAW Image"},
    {"dsc", "raw", "Kodak Camera RAW Image"},
    {"k25", "raw", "Kodak Camera RAW Image"},
    {"kc2", "raw", "Kodak Camera RAW Image"},
    {"kdc", "raw", "Kodak Camera RAW Image"},
    {"dcs", "raw", "Kodak Camera RAW Image"},
    {"dng", "raw", "Adobe Digital Negative Image"},
    {"erf", "raw", "Epson Camera RAW Image"},
    {"fff", "raw", "Imacon Camera RAW Image"},
    {"ia", "raw", "Sinar RAW Image"},
    {"sti", "raw", "Sinar RAW Image"},
    {"mdc", "raw", "Minolta Camera RAW Image"},
    {"mrw", "raw", "Minolta Camera RAW Image"},
    {"mef", "raw", "Mamiya Camera RAW Image"},
    {"mos", "raw", "Mamiya Camera RAW Image"},
    {"nef", "raw", "Nikon Camera RAW Image"},
    {"nrw", "raw", "Nikon Camera RAW Image"},
    {"orf", "raw", "Olympus Camera RAW Image"},
    {"pef", "raw", "Pentax Camera RAW Image"},
    {"ptx", "raw", "Pentax Camera RAW Image"},
    {"pxn", "raw", "Logitech Camera RAW Image"},
    {"qtk", "raw", "Apple Quicktake Camera RAW Image"},
    {"raf", "raw", "Fuji Camera RAW Image"},
    {"rdc", "raw", "Digital Foto Maker RAW Image"},
    {"rw2", "raw", "Panasonic Camera RAW Image"},
    {"rwz", "raw", "Rawzor Camera RAW Image"},
    {"x3f", "raw", "Sigma Camera RAW Image"},
    {"ari", "raw", "ARRI RAW Image"},
    {"r3d", "raw", "RED RAW Image"},
    {"rwl", "raw", "Leica Camera RAW Image"},
};

std::vector<std::string>& AcceptedStore() {
  static std::vector<std::string> accepted;
  return accepted;
}

const InputExtension* FindInput(std::string_view ext) {
  for (const InputExtension& e : kInputExtensions)
    if (e.extension == ext) return &e;
  return nullptr;
}

}  // namespace

const std::vector<std::string>& InputFormats() {
  static const std::vector<std::string> formats{"jpg"};
  return formats;
}

const std::vector<std::string>& OutputFormats() {
  static const std::vector<std::string> formats{"tga"};
  return formats;
}

std::span<const OutputFormat> OutputFormatTable() { return kOutputFormats; }
std::span<const InputExtension> InputExtensionTable() { return kInputExtensions; }

const OutputFormat* FindOutputFormat(std::string_view ext) {
  for (const OutputFormat& f : kOutputFormats)
    if (f.extension == ext) return &f;
  return nullptr;
}

int OutputFormatId(std::string_view ext) {
  const OutputFormat* f = FindOutputFormat(ext);
  return f ? f->freeImageId : -1;
}

std::string OutputDepths(std::string_view ext) {
  const OutputFormat* f = FindOutputFormat(ext);
  return f ? std::string(f->depths) : std::string();
}

std::string OutputDescription(std::string_view ext) {
  const OutputFormat* f = FindOutputFormat(ext);
  return f ? std::string(f->description) : std::string();
}

std::string InputFamily(std::string_view ext) {
  const InputExtension* e = FindInput(ext);
  return e ? std::string(e->family) : std::string();
}

std::string InputDescription(std::string_view ext) {
  const InputExtension* e = FindInput(ext);
  return e ? std::string(e->description) : std::string();
}

void RebuildAcceptedInputs() {
  std::vector<std::string>& accepted = AcceptedStore();
  accepted.clear();
  for (const std::string& family : InputFormats())
    for (const InputExtension& e : kInputExtensions)
      if (e.family == family) accepted.emplace_back(e.extension);
}

const std::vector<std::string>& AcceptedInputs() { return AcceptedStore(); }

bool IsAcceptedInput(std::string_view ext) {
  const std::string lower = ToLower(ext);
  const auto& accepted = AcceptedStore();
  return std::find(accepted.begin(), accepted.end(), lower) != accepted.end();
}

bool IsOfferedOutput(std::string_view ext) {
  const auto& offered = OutputFormats();
  return std::find(offered.begin(), offered.end(), ext) != offered.end();
}

const SettingDef* DepthSettingDef(std::string_view ext) {
  if (ext.empty()) return nullptr;
  return FindSetting("Output", ToUpper(ext) + " BPP");
}

std::optional<int> DepthSetting(const Settings& s, std::string_view ext) {
  const SettingDef* def = DepthSettingDef(ext);
  if (def == nullptr) return std::nullopt;
  return static_cast<int>(GetInteger(s, *def));
}

bool IsAllowedDepth(std::string_view ext, int depth) {
  if (depth == 0) return true;
  for (const std::string& entry : Split(OutputDepths(ext), ','))
    if (!entry.empty() && ParseNumber(entry) == depth) return true;
  return false;
}

int SaveFlags(const Settings& s, std::string_view ext) {
  auto pick = [](int code, std::initializer_list<int> flags) {
    return code >= 0 && static_cast<size_t>(code) < flags.size() ? *(flags.begin() + code) : 0;
  };
  if (ext == "bmp") return s.bmpCompression == 1 ? 0x1 : 0;  // BMP_SAVE_RLE
  if (ext == "exr") return pick(s.exrCompression, {0x2, 0x4, 0x8, 0x10, 0x20});
  if (ext == "jpg") {
    return s.jpgQuality | pick(s.jpgChroma, {0x10000, 0x8000, 0x4000, 0x1000}) |
           pick(s.jpgSaveAs, {0, 0x40000, 0x20000, 0x2000});
  }
  if (ext == "jxr") return 100;  // JXR_LOSSLESS
  if (ext == "png") return pick(s.pngCompression, {0x100, 1, 6, 9}) | (s.pngInterlaced == 1 ? 0x200 : 0);
  if (ext == "tga") return s.tgaCompression == 1 ? 0x2 : 0;  // TARGA_SAVE_RLE
  if (ext == "tiff") {
    return pick(s.tiffCompression, {0x800, 0x1000, 0x2000, 0x100, 0x200, 0x400, 0x4000, 0x8000, 0x10000}) |
           (s.tiffColorModel == 1 ? 0x1 : 0);
  }
  if (ext == "webp") return 0x100;  // WEBP_LOSSLESS
  return 0;
}

std::string InputDialogFilter() {
  const auto& accepted = AcceptedStore();
  std::string all;
  for (const std::string& ext : accepted) all += (all.empty() ? "" : ";") + ("*." + ext);
  std::string filter = Lookup("Dialog", "All Supported Files") + "|" + all;
  // One field pair per description; each newly met pattern goes in front.
  std::vector<std::pair<std::string, std::string>> groups;
  for (const std::string& ext : accepted) {
    const std::string desc = InputDescription(ext);
    auto it = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.first == desc; });
    if (it == groups.end()) groups.emplace_back(desc, "*." + ext);
    else it->second = "*." + ext + ";" + it->second;
  }
  for (const auto& [desc, patterns] : groups) filter += "|" + desc + "|" + patterns;
  filter += "|" + Lookup("Dialog", "All Files") + " (*.*)|*.*";
  return filter;
}

}  // namespace tarnwick
