// The keyword vocabulary of enumerated settings: numbered tables between the
// upper-case words of options and profiles and the codes that are stored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// Code of a keyword in table `table` (0 to 21): upper-cased, compared whole;
// no match, or a table with no forward list (13, 14, others), gives 0.
uint8_t KeywordToCode(int table, std::string_view text);
// The keyword of a code in lower case, or "" when the table has none.
std::string CodeToKeyword(int table, int code);

}  // namespace tarnwick
