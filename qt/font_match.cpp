#include "qt/font_match.h"

#include <fontconfig/fontconfig.h>

#include <vector>

namespace tarnwick {
namespace {

// A family name that no configuration rule and no font can carry.
constexpr const char* kUnknownFamily = "Tarnwick Unknown Family 7f3c9a1e";

const FcChar8* Fc(const std::string& text) { return reinterpret_cast<const FcChar8*>(text.c_str()); }

// Family names compare as fontconfig compares them: blanks and ASCII case
// do not count.
std::string FamilyKey(const std::string& name) {
  std::string key;
  for (const char c : name)
    if (c != ' ') key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return key;
}

bool SameFamily(const std::string& a, const std::string& b) { return FamilyKey(a) == FamilyKey(b); }

// A pattern asking for one family, after the configuration's substitutions.
FcPattern* SubstitutedRequest(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return nullptr;
  FcPatternAddString(pattern, FC_FAMILY, Fc(family));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return pattern;
}

std::vector<std::string> Families(const FcPattern* pattern) {
  std::vector<std::string> families;
  FcChar8* value = nullptr;
  for (int i = 0; pattern != nullptr && FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i)
    families.emplace_back(reinterpret_cast<const char*>(value));
  return families;
}

std::vector<std::string> SubstitutedFamilies(const std::string& family) {
  FcPattern* pattern = SubstitutedRequest(family);
  std::vector<std::string> families = Families(pattern);
  if (pattern != nullptr) FcPatternDestroy(pattern);
  return families;
}

bool IsInstalledFamily(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  bool found = false;
  if (pattern != nullptr && objects != nullptr) {
    FcPatternAddString(pattern, FC_FAMILY, Fc(family));
    if (FcFontSet* fonts = FcFontList(nullptr, pattern, objects)) {
      found = fonts->nfont > 0;
      FcFontSetDestroy(fonts);
    }
  }
  if (objects != nullptr) FcObjectSetDestroy(objects);
  if (pattern != nullptr) FcPatternDestroy(pattern);
  return found;
}

bool HasOwnRules(const std::vector<std::string>& families, const std::vector<std::string>& unknown) {
  if (families.size() != unknown.size()) return true;
  for (size_t i = 1; i < families.size(); ++i)
    if (families[i] != unknown[i]) return true;
  return false;
}

bool InDefaultList(const std::string& family, const std::vector<std::string>& unknown) {
  for (size_t i = 1; i < unknown.size(); ++i)
    if (SameFamily(family, unknown[i])) return true;
  return false;
}

}  // namespace

std::optional<std::string> MatchFontFamily(const std::string& family) {
  if (family.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
  if (FcInit() == FcFalse) return std::nullopt;
  const std::vector<std::string> unknown = SubstitutedFamilies(kUnknownFamily);
  const bool known =
      IsInstalledFamily(family) || HasOwnRules(SubstitutedFamilies(family), unknown) || InDefaultList(family, unknown);
  if (!known) return std::nullopt;

  FcPattern* request = SubstitutedRequest(family);
  if (request == nullptr) return std::nullopt;
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, request, &result);
  FcPatternDestroy(request);
  if (match == nullptr) return std::nullopt;
  const std::vector<std::string> families = Families(match);
  FcPatternDestroy(match);
  if (families.empty()) return std::nullopt;
  return families.front();
}

}  // namespace tarnwick
