// The INI-style reader and writer of the configuration file and of
// command-line profiles.
//
// Reading: a file that starts with the UTF-8 byte-order mark is UTF-8, any
// other is Latin-1. Blanks and tabs lead nothing; ";" starts a comment;
// "[name]" starts a group; "key = value" lines have blanks and tabs trimmed
// around key and value. Group names and keys match without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

class IniFile {
 public:
  struct Group {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;  // in file order
  };

  // Files larger than this are read only up to it: a configuration or a
  // profile has no business being larger, and the rest reads as absent.
  static constexpr size_t kMaxBytes = 16u << 20;

  // Reads a file; nullopt when it cannot be opened.
  static std::optional<IniFile> Load(const std::string& path);
  static IniFile Parse(std::string_view bytes);

  // The first group of that name, or null.
  const Group* FindGroup(std::string_view name) const;
  // The value of a key in a group, or nullopt when either is missing.
  std::optional<std::string> Value(std::string_view group, std::string_view key) const;

  const std::vector<Group>& Groups() const { return groups_; }

 private:
  std::vector<Group> groups_;
};

// Builds the text of a configuration file: the byte-order mark, CR LF line
// ends, "key = value" lines and a "; " line closing each group.
class IniWriter {
 public:
  IniWriter();
  void BeginGroup(std::string_view name);
  void Put(std::string_view key, std::string_view value);
  void EndGroup();
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

bool SameWordNoCase(std::string_view a, std::string_view b);

}  // namespace tarnwick
