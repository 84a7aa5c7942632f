#include "engine/input_set.h"

#include <zlib.h>

#include "core/formats.h"
#include "core/text.h"
#include "platform/files.h"

namespace tarnwick {
namespace {

InputAddedHook& Hook() {
  static InputAddedHook hook;
  return hook;
}

uint32_t FolderKey(const std::string& folder) {
  const std::string upper = ToUpper(folder);
  return static_cast<uint32_t>(
      crc32(0L, reinterpret_cast<const Bytef*>(upper.data()), static_cast<uInt>(upper.size())));
}

}  // namespace

InputSet& GlobalInputSet() {
  static InputSet set;
  return set;
}

void SetInputAddedHook(InputAddedHook hook) { Hook() = std::move(hook); }

int AddInputFile(const std::string& path, InputSet& set, const RunContext& run) {
  // Missing paths and folders pass the size test and fail in the pipeline.
  if (FileSize(path) == 0) return 0;
  if (!IsAcceptedInput(ToLower(PathExtension(path)))) return 0;
  set.clear();
  set[path] = InputEntry{1, Subfolder(path, run.sourceFolder)};
  if (!run.consoleMode && Hook()) Hook()(path);
  return 1;
}

int AddInputFile(const std::string& path) { return AddInputFile(path, GlobalInputSet(), GlobalRunContext()); }

std::string Subfolder(const std::string& path, const std::string& sourceFolder) {
  if (path.empty() || sourceFolder.empty()) return {};
  std::string folder = FolderPart(path);
  if (folder.find(sourceFolder) == std::string::npos) return {};
  for (size_t at; (at = folder.find(sourceFolder)) != std::string::npos;) folder.erase(at, sourceFolder.size());
  return folder;
}

int AddRecentOutFolder(Settings& s, const std::string& folder) {
  if (folder.empty()) return 0;
  const uint32_t key = FolderKey(folder);
  std::string list = folder;
  int count = 1;
  for (int i = 0; i < s.outFoldersNumber; ++i) {
    const std::string old = RecentOutFolder(s, i);
    if (!old.empty() && FolderKey(old) != key && count < s.outFoldersNumber) {
      list += '\t';
      list += old;
      ++count;
    }
  }
  s.recentOutFolders = list;
  return 1;
}

std::string RecentOutFolder(const Settings& s, int i) {
  if (i < 0) return {};
  const std::vector<std::string> fields = Split(s.recentOutFolders, '\t');
  if (static_cast<size_t>(i) >= fields.size()) return {};
  return TrimBlanks(fields[static_cast<size_t>(i)]);
}

}  // namespace tarnwick
