// The file-name mask and the token expansion that watermark texts use, on
// any mask, input path and text. The input holds up to three parts split at
// NUL bytes: the mask, the input path and a text for ExpandTokens (the mask
// again when there is no third part).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings.h"
#include "core/text.h"
#include "engine/naming.h"
#include "engine/run_context.h"
#include "fuzz/fuzz_support.h"
#include "platform/clock.h"

using namespace tarnwick;

namespace {

// The tokens whose values are digits. Once one of them is expanded, no
// later replacement can bring it back, so none of them may be left over
// in any case.
constexpr std::string_view kNumberTokens[] = {"%yyyy%", "%mm%",    "%dd%",     "%hh%",  "%ii%", "%ss%",
                                              "%bpp%",  "%width%", "%height%", "%rnd%", "%n%"};

void CheckExpanded(const char* what, const std::string& source, const std::string& result, bool utf8In) {
  if (utf8In && !fuzz::IsUtf8(result)) fuzz::Fail("well-formed UTF-8 came out malformed", what);
  if (source.find('%') == std::string::npos && result != source) fuzz::Fail("a text without tokens changed", what);
  for (std::string_view token : kNumberTokens)
    if (ContainsNoCase(result, token)) fuzz::Fail("a token was left unexpanded", token);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The date tokens read a fixed clock, so each input always names alike.
  SetNowSource([] { return std::time_t{1772600767}; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts =
      fuzz::SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size), 3);
  Settings s;
  Defaults(s, true, {}, 0);
  s.filenameMask = parts[0];
  RunContext run;
  run.inputPath = parts.size() > 1 ? parts[1] : "/in/dsc01.jpg";
  run.outputFolder = "/out/";
  run.outputExtension = "tga";
  run.outputDepth = 24;
  run.outputWidth = 640;
  run.outputHeight = 480;
  run.runNumber = 42;
  run.counter = 7;
  const bool pathUtf8 = fuzz::IsUtf8(run.inputPath);

  const std::string name = MaskName(s, run);
  const std::string mask = s.filenameMask.empty() ? std::string("%filename%.%ext%") : ToLower(s.filenameMask);
  CheckExpanded("mask", mask, name, pathUtf8 && fuzz::IsUtf8(mask));
  // The extension the default mask ends with is literal text: no token can
  // reach into it.
  if (s.filenameMask.empty() && !EndsWith(name, ".tga")) fuzz::Fail("the default mask lost its extension", name);
  if (OutputPath(s, run) != run.outputFolder + name) fuzz::Fail("the output path is not folder and name", name);

  const std::string text = parts.size() > 2 ? parts[2] : parts[0];
  CheckExpanded("text", text, ExpandTokens(text, run), pathUtf8 && fuzz::IsUtf8(text));
  return 0;
}
