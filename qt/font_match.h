// Which installed font answers to a family name, by fontconfig's rules.
#pragma once

#include <optional>
#include <string>

namespace tarnwick {

// The family of the installed font that answers to `family`, or nothing
// when no font does.
//
// Fontconfig always finds some font: a name it knows nothing about gets
// its catch-all default family ("sans-serif", 49-sansserif.conf), which is
// also what Qt silently falls back to. So a name counts as answered only
// when fontconfig knows it in one of these ways:
//  1. an installed font carries it as a family name ("Liberation Sans",
//     "dejavu sans": case and blanks are ignored as fontconfig does);
//  2. the configuration has rules of its own for it: the family list that
//     FcConfigSubstitute makes for it differs, past the name itself, from
//     the list it makes for a name no rule can know ("Arial" and
//     "Helvetica" gain Liberation Sans, "Courier New" Liberation Mono,
//     "Georgia" the serif list);
//  3. the configuration names it among the families of its default list,
//     for which the default font stands in ("Verdana" and "Tahoma" in
//     60-latin.conf's sans-serif list answer to DejaVu Sans).
// The answer is the first family name of FcFontMatch's best match for the
// substituted request.
std::optional<std::string> MatchFontFamily(const std::string& family);

}  // namespace tarnwick
