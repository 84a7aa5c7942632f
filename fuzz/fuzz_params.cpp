// The parameter loop on any parameter list: the input split at NUL bytes,
// one parameter per part, into fresh settings that start from the console
// defaults.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "core/settings.h"
#include "engine/run_context.h"
#include "fuzz/fuzz_support.h"

using namespace tarnwick;

namespace {

// "--profile=" reads whatever file it names, and a FIFO or a device there
// would stall the run. A list that names a profile is therefore taken only
// when no parameter holds a "/": the profile is then a file of the working
// folder (fuzz/run.sh puts p.ini there).
bool ReadsOnlyLocalProfiles(const std::vector<std::string>& params) {
  bool profile = false, slash = false;
  for (const std::string& p : params) {
    profile = profile || OptionName(p) == "--PROFILE";
    slash = slash || p.find('/') != std::string::npos;
  }
  return !profile || !slash;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CommandLine cl;
  if (size > 0) cl.params = fuzz::SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!ReadsOnlyLocalProfiles(cl.params)) return -1;  // kept out of the corpus

  Settings s;
  Defaults(s, true, {}, 0);
  RunContext run;
  WorkingState state;
  ParseParameters(cl, s, run, state);

  // Only the two documented errors ever end the loop early.
  if (!cl.error.empty() && cl.error != "Incorrect number of parameters" && cl.error != "Invalid profile file")
    fuzz::Fail("unknown parameter error", cl.error);
  return 0;
}
