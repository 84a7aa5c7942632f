#include "engine/naming.h"

#include <cstdio>

#include "core/text.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace tarnwick {
namespace {

std::string TwoDigits(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}

std::string ValueOf(std::string_view token, const RunContext& run) {
  const std::string name = BaseNameNoExtension(run.inputPath);
  if (token == "%filename%") return name;
  if (token == "%filename[u]%") return ToUpper(name);
  if (token == "%filename[l]%") return ToLower(name);
  if (token == "%filename[t]%") return ToTitle(name);
  if (token == "%ext%") return run.outputExtension;
  if (token == "%ext[u]%") return ToUpper(run.outputExtension);
  if (token == "%ext[t]%") return ToTitle(run.outputExtension);
  if (token == "%bpp%") return std::to_string(run.outputDepth);
  if (token == "%width%") return std::to_string(run.outputWidth);
  if (token == "%height%") return std::to_string(run.outputHeight);
  if (token == "%rnd%") return FiveDigits(run.runNumber);
  if (token == "%n%") return FiveDigits(run.counter);
  // The date and time tokens read the clock anew each time.
  const std::tm now = LocalNow();
  if (token == "%yyyy%") return std::to_string(now.tm_year + 1900);
  if (token == "%mm%") return TwoDigits(now.tm_mon + 1);
  if (token == "%dd%") return TwoDigits(now.tm_mday);
  if (token == "%hh%") return TwoDigits(now.tm_hour);
  if (token == "%ii%") return TwoDigits(now.tm_min);
  if (token == "%ss%") return TwoDigits(now.tm_sec);
  return std::string(token);
}

}  // namespace

std::string FiveDigits(int32_t number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  return digits.substr(0, 5);
}

std::string TokenValue(std::string_view text, std::string_view token, const RunContext& run) {
  return ReplaceAllNoCase(text, token, ValueOf(ToLower(token), run));
}

std::string ExpandTokens(std::string text, const RunContext& run) {
  for (const char* token : kMaskTokens)
    if (ContainsNoCase(text, token)) text = TokenValue(text, token, run);
  return text;
}

std::string MaskName(const Settings& s, const RunContext& run) {
  std::string mask = ToLower(s.filenameMask);
  if (mask.empty()) mask = "%filename%.%ext%";
  return ExpandTokens(std::move(mask), run);
}

std::string OutputPath(const Settings& s, const RunContext& run) {
  std::string path = run.outputFolder;
  if (s.keepSubfolders == 1) path += run.subfolder;
  return path + MaskName(s, run);
}

void SetOutputDate(const Settings& s, const RunContext& run) {
  if (s.fileTimestamp == 1) {
    if (const auto date = FileDate(run.inputPath)) SetFileDate(run.outputPath, *date);
  } else if (s.fileTimestamp == 2) {
    SetFileDate(run.outputPath, s.customTimestamp);
  }
}

}  // namespace tarnwick
