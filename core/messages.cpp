#include "core/messages.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "core/text.h"

namespace tarnwick {
namespace {

struct Pair {
  const char* key;
  const char* text;
};

constexpr Pair kBlock[] = {
#include "core/messages_data.inc"
};

constexpr char kJoin = '\x01';  // sorts below every character of a key
constexpr const char* kMissing = "%NO_STRING_ERROR%";

struct Group {
  std::string name;
  int first = 0;
  int last = -1;
  std::array<int, 256> buckets{};
};

struct Catalogue {
  std::vector<Group> groups;  // record 0 holds what stands before any group
  std::vector<std::string> keys;
  std::vector<std::string> texts;
  size_t current = 0;
  bool built = false;
};

Catalogue& TheCatalogue() {
  static Catalogue catalogue;
  return catalogue;
}

BoxPresenter& Presenter() {
  static BoxPresenter presenter;
  return presenter;
}

}  // namespace

void BuildCatalogue() {
  Catalogue& c = TheCatalogue();
  size_t groupCount = 0, entryCount = 0;
  for (const Pair& p : kBlock) {
    const std::string key = ToUpper(p.key);
    if (key == "_END_") break;
    if (key == "_GROUP_") ++groupCount;
    else ++entryCount;
  }
  c.groups.assign(groupCount + 1, Group{});
  c.keys.assign(entryCount + 1, std::string());
  c.texts.assign(entryCount + 1, std::string());
  c.current = 0;

  size_t g = 0;
  int n = 0;
  for (const Pair& p : kBlock) {
    const std::string key = ToUpper(p.key);
    if (key == "_END_") break;
    if (key == "_GROUP_") {
      c.groups[g].last = n;
      ++g;
      c.groups[g].name = ToUpper(p.text);
      c.groups[g].first = n + 1;
      c.groups[g].buckets.fill(0);
      continue;
    }
    ++n;
    c.keys[static_cast<size_t>(n)] = key + kJoin + p.text;
  }
  c.groups[g].last = n;

  for (size_t j = 1; j < c.groups.size(); ++j) {
    Group& grp = c.groups[j];
    if (grp.last < grp.first) continue;
    std::sort(c.keys.begin() + grp.first, c.keys.begin() + grp.last + 1);
    int previous = 0;
    for (int k = grp.first; k <= grp.last; ++k) {
      std::string& joined = c.keys[static_cast<size_t>(k)];
      const size_t cut = joined.find(kJoin);
      c.texts[static_cast<size_t>(k)] = joined.substr(cut + 1);
      joined.resize(cut);
      const int code = joined.empty() ? 0 : static_cast<unsigned char>(joined[0]);
      if (code != previous) {
        grp.buckets[static_cast<size_t>(code)] = k;
        previous = code;
      }
    }
  }
  c.built = true;
}

std::string Lookup(std::string_view group, std::string_view key) {
  Catalogue& c = TheCatalogue();
  if (!c.built) BuildCatalogue();
  const std::string g = ToUpper(group);
  const std::string k = ToUpper(key);
  if (c.groups[c.current].name != g || c.current == 0) {
    c.current = 0;
    for (size_t j = 1; j < c.groups.size(); ++j)
      if (c.groups[j].name == g) {
        c.current = j;
        break;
      }
  }
  if (c.current == 0 || k.empty()) return kMissing;
  // Keys are ASCII; a first byte above 127 starts a code point above 255.
  const auto code = static_cast<unsigned char>(k[0]);
  if (code > 127) return kMissing;
  const Group& grp = c.groups[c.current];
  for (int i = grp.buckets[code]; i != 0 && i <= grp.last; ++i) {
    const int cmp = k.compare(c.keys[static_cast<size_t>(i)]);
    if (cmp == 0) return c.texts[static_cast<size_t>(i)];
    if (cmp < 0) break;
  }
  return kMissing;
}

std::string Format(std::string_view text, std::string_view s1, std::string_view s2, std::string_view s3,
                   std::string_view s4) {
  std::string out(text);
  if (out.empty()) return out;
  const std::string_view args[] = {s1, s2, s3, s4};
  for (int i = 0; i < 4; ++i) {
    if (args[i].empty()) continue;
    const std::string placeholder = "%s" + std::to_string(i + 1) + "%";
    out = ReplaceAllNoCase(out, placeholder, args[i]);
  }
  return out;
}

void SetBoxPresenter(BoxPresenter presenter) { Presenter() = std::move(presenter); }

static void ShowBox(BoxKind kind, const std::string& text) {
  const std::string title = Lookup("Msg", kind == BoxKind::Warning ? "Warning" : "Error");
  if (Presenter()) Presenter()(kind, title, text);
  else std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

void WarningBox(const std::string& text) { ShowBox(BoxKind::Warning, text); }
void ErrorBox(const std::string& text) { ShowBox(BoxKind::Error, text); }

}  // namespace tarnwick
