// The message catalogue: every text the window face shows and some console
// texts, looked up by (group, key) without regard to case.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tarnwick {

// Builds the indexed catalogue from the built-in block. Calling it again
// rebuilds the same structure.
void BuildCatalogue();
// The entry's text, or "%NO_STRING_ERROR%". Main thread only.
std::string Lookup(std::string_view group, std::string_view key);
// Fills "%s1%" to "%s4%" (the s in any case); empty arguments leave theirs.
std::string Format(std::string_view text, std::string_view s1 = {}, std::string_view s2 = {},
                   std::string_view s3 = {}, std::string_view s4 = {});

// Message boxes titled "Warning" or "Error". The window face installs the
// presenter; until then a box is written to standard error.
enum class BoxKind { Warning, Error };
using BoxPresenter = std::function<void(BoxKind kind, const std::string& title, const std::string& text)>;
void SetBoxPresenter(BoxPresenter presenter);
void WarningBox(const std::string& text);
void ErrorBox(const std::string& text);

}  // namespace tarnwick
