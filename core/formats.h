// The image format catalogue: output formats with their FreeImage ids and
// bit depths, input extensions with their families, and the two short lists
// of what this product actually offers.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"

namespace tarnwick {

struct OutputFormat {
  int freeImageId;
  std::string_view extension;
  std::string_view description;
  std::string_view depths;  // ascending, comma-separated
};

struct InputExtension {
  std::string_view extension;
  std::string_view family;
  std::string_view description;
};

// What this product converts from and to.
const std::vector<std::string>& InputFormats();
const std::vector<std::string>& OutputFormats();

std::span<const OutputFormat> OutputFormatTable();
std::span<const InputExtension> InputExtensionTable();

const OutputFormat* FindOutputFormat(std::string_view ext);
int OutputFormatId(std::string_view ext);               // -1 when unknown
std::string OutputDepths(std::string_view ext);         // "" when unknown
std::string OutputDescription(std::string_view ext);
std::string InputFamily(std::string_view ext);
std::string InputDescription(std::string_view ext);

// Rebuilds the accepted input extensions from InputFormats.
void RebuildAcceptedInputs();
const std::vector<std::string>& AcceptedInputs();
bool IsAcceptedInput(std::string_view ext);
bool IsOfferedOutput(std::string_view ext);

// The bit-depth setting of an output extension ("TGA BPP" for "tga").
const SettingDef* DepthSettingDef(std::string_view ext);
std::optional<int> DepthSetting(const Settings& s, std::string_view ext);
// True when depth is 0 or one of the format's listed depths.
bool IsAllowedDepth(std::string_view ext, int depth);

int SaveFlags(const Settings& s, std::string_view ext);

// The "Select Input Files" filter: fields separated by "|".
std::string InputDialogFilter();

}  // namespace tarnwick
