// Output naming: the file-name mask and its tokens, and the output file's
// date.
#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"
#include "engine/run_context.h"

namespace tarnwick {

// The tokens in the order they are replaced.
inline constexpr const char* kMaskTokens[] = {
    "%filename%", "%filename[u]%", "%filename[l]%", "%filename[t]%", "%ext%", "%ext[u]%",
    "%ext[t]%",   "%yyyy%",        "%mm%",          "%dd%",          "%hh%",  "%ii%",
    "%ss%",       "%bpp%",         "%width%",       "%height%",      "%rnd%", "%n%",
};

// text with every occurrence of token (found without regard to case)
// replaced by its value for the current file.
std::string TokenValue(std::string_view text, std::string_view token, const RunContext& run);
// Every token of the table replaced, in table order.
std::string ExpandTokens(std::string text, const RunContext& run);

std::string MaskName(const Settings& s, const RunContext& run);
std::string OutputPath(const Settings& s, const RunContext& run);
// Sets the output file's last-write time by "File Timestamp".
void SetOutputDate(const Settings& s, const RunContext& run);

// "42" -> "00042"; "123456" -> "12345".
std::string FiveDigits(int32_t number);

}  // namespace tarnwick
