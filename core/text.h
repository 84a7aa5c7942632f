// Small text helpers shared by every layer. Texts are UTF-8 std::string;
// case mapping works per code point so that "é" and "É" match.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
// First code point upper-cased, the rest lower-cased ("my PHOTO" -> "My photo").
std::string ToTitle(std::string_view text);

// Blanks (spaces only) removed at both ends.
std::string TrimBlanks(std::string_view text);
// Blanks and tabs removed at both ends.
std::string TrimBlanksTabs(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// Every occurrence of `what` replaced by `with`, the search ignoring case.
std::string ReplaceAllNoCase(std::string_view text, std::string_view what, std::string_view with);
bool ContainsNoCase(std::string_view text, std::string_view what);

std::vector<std::string> Split(std::string_view text, char separator);

// The number rule of parameters: blanks and tabs skipped, an optional sign,
// then "$" hexadecimal, "%" binary or decimal digits; reading stops at the
// first other character; no digits read as 0. Wraps to 32 bits.
int32_t ParseNumber(std::string_view text);
// Decimal with "." as separator; "+Infinity", "-Infinity", "NaN" in any case;
// text that is no number reads as 0.
float ParseDecimal(std::string_view text);
// Leading decimal integer (optional sign, digits); no digits read as 0.
int64_t ParseLeadingInteger(std::string_view text);

// Latin-1 bytes to UTF-8.
std::string Latin1ToUtf8(std::string_view bytes);

// The extension of a path: text after the last ".", empty when a blank,
// "/" or "\" follows that dot.
std::string PathExtension(std::string_view path);
// The file name of a path without folder and without extension.
std::string BaseNameNoExtension(std::string_view path);
// Folder part of a path, up to and including the last "/" or "\".
std::string FolderPart(std::string_view path);

}  // namespace tarnwick
