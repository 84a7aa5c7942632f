#include "config/ini.h"

#include <cstdio>

#include "core/text.h"

namespace tarnwick {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlankOrTab(char ch) { return ch == ' ' || ch == '\t'; }

}  // namespace

bool SameWordNoCase(std::string_view a, std::string_view b) {
  if (a.size() == b.size()) {
    bool same = true;
    for (size_t i = 0; i < a.size() && same; ++i) {
      char x = a[i], y = b[i];
      if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
      if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
      same = x == y;
    }
    if (same) return true;
  }
  // Names beyond ASCII compare by their upper-cased code points.
  const auto nonAscii = [](std::string_view s) {
    for (char ch : s)
      if (static_cast<unsigned char>(ch) >= 0x80) return true;
    return false;
  };
  return (nonAscii(a) || nonAscii(b)) && ToUpper(a) == ToUpper(b);
}

std::optional<IniFile> IniFile::Load(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string bytes;
  char buf[65536];
  while (bytes.size() < kMaxBytes) {
    const size_t want = std::min(sizeof buf, kMaxBytes - bytes.size());
    const size_t n = std::fread(buf, 1, want, f);
    if (n == 0) break;
    bytes.append(buf, n);
  }
  const bool readError = std::ferror(f) != 0;
  std::fclose(f);
  // A folder opens but cannot be read; it is no file.
  if (readError && bytes.empty()) return std::nullopt;
  return Parse(bytes);
}

IniFile IniFile::Parse(std::string_view bytes) {
  std::string text;
  if (bytes.substr(0, kBom.size()) == kBom) text.assign(bytes.substr(kBom.size()));
  else text = Latin1ToUtf8(bytes);

  IniFile ini;
  Group* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t i = 0;
    while (i < line.size() && IsBlankOrTab(line[i])) ++i;
    line.remove_prefix(i);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      const std::string_view name = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
      ini.groups_.push_back(Group{TrimBlanksTabs(name), {}});
      current = &ini.groups_.back();
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos || current == nullptr) continue;
    std::string key = TrimBlanksTabs(line.substr(0, eq));
    if (key.empty()) continue;
    current->entries.emplace_back(std::move(key), TrimBlanksTabs(line.substr(eq + 1)));
  }
  return ini;
}

const IniFile::Group* IniFile::FindGroup(std::string_view name) const {
  for (const Group& g : groups_)
    if (SameWordNoCase(g.name, name)) return &g;
  return nullptr;
}

std::optional<std::string> IniFile::Value(std::string_view group, std::string_view key) const {
  const Group* g = FindGroup(group);
  if (g == nullptr) return std::nullopt;
  for (const auto& [k, v] : g->entries)
    if (SameWordNoCase(k, key)) return v;
  return std::nullopt;
}

IniWriter::IniWriter() {
  text_.assign(kBom);
  text_ += "\r\n";
}

void IniWriter::BeginGroup(std::string_view name) {
  text_ += '[';
  text_ += name;
  text_ += "]\r\n";
}

void IniWriter::Put(std::string_view key, std::string_view value) {
  text_ += key;
  text_ += " = ";
  text_ += value;
  text_ += "\r\n";
}

void IniWriter::EndGroup() { text_ += "; \r\n"; }

}  // namespace tarnwick
