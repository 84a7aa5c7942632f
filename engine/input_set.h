// The input set of a conversion and the list of recent output folders.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "core/settings.h"
#include "engine/run_context.h"

namespace tarnwick {

struct InputEntry {
  int32_t present = 1;
  std::string subfolder;
};

// Keyed by the full input path. Holds at most one entry in this product.
using InputSet = std::map<std::string, InputEntry>;
InputSet& GlobalInputSet();

// The window face's reaction to an added file (show it, fill an empty
// output folder box). Not called in the console face.
using InputAddedHook = std::function<void(const std::string& path)>;
void SetInputAddedHook(InputAddedHook hook);

// 1 when the file was added; a zero-byte file or an extension that is not
// accepted leaves the set as it was and gives 0.
int AddInputFile(const std::string& path, InputSet& set, const RunContext& run);
int AddInputFile(const std::string& path);

std::string Subfolder(const std::string& path, const std::string& sourceFolder);

// Puts a folder at the head of "Recent Out Folders", dropping older copies
// (compared without regard to case) and cutting to "Out Folders Number".
int AddRecentOutFolder(Settings& s, const std::string& folder);
// Entry i (from 0), trimmed of blanks, or "".
std::string RecentOutFolder(const Settings& s, int i);

}  // namespace tarnwick
