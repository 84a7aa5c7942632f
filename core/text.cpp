#include "core/text.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <locale.h>

namespace tarnwick {
namespace {

// A UTF-8 C locale gives towupper/towlower full Unicode case tables
// without depending on the user's own locale settings.
locale_t CaseLocale() {
  static locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (l == static_cast<locale_t>(0)) l = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
    return l;
  }();
  return loc;
}

// Decodes one code point at text[i], advancing i. Invalid bytes decode as
// themselves (0x80..0xFF) so that no input is lost.
char32_t Decode(std::string_view text, size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  auto cont = [&](size_t k) -> int {
    if (i + k >= text.size()) return -1;
    const auto b = static_cast<unsigned char>(text[i + k]);
    return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
  };
  if (b0 < 0x80) { ++i; return b0; }
  if ((b0 & 0xE0) == 0xC0) {
    int c1 = cont(1);
    if (c1 >= 0 && b0 >= 0xC2) { i += 2; return static_cast<char32_t>(((b0 & 0x1F) << 6) | c1); }
  } else if ((b0 & 0xF0) == 0xE0) {
    int c1 = cont(1), c2 = c1 >= 0 ? cont(2) : -1;
    if (c2 >= 0) {
      char32_t cp = static_cast<char32_t>(((b0 & 0x0F) << 12) | (c1 << 6) | c2);
      if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) { i += 3; return cp; }
    }
  } else if ((b0 & 0xF8) == 0xF0) {
    int c1 = cont(1), c2 = c1 >= 0 ? cont(2) : -1, c3 = c2 >= 0 ? cont(3) : -1;
    if (c3 >= 0) {
      char32_t cp = static_cast<char32_t>(((b0 & 0x07) << 18) | (c1 << 12) | (c2 << 6) | c3);
      if (cp >= 0x10000 && cp <= 0x10FFFF) { i += 4; return cp; }
    }
  }
  ++i;
  return 0x110000 + b0;  // marker for a raw byte
}

void Encode(char32_t cp, std::string& out) {
  if (cp >= 0x110000) { out += static_cast<char>(cp - 0x110000); return; }
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

enum class Case { Upper, Lower };

char32_t MapCase(char32_t cp, Case c) {
  if (cp < 0x80) {
    if (c == Case::Upper && cp >= 'a' && cp <= 'z') return cp - 32;
    if (c == Case::Lower && cp >= 'A' && cp <= 'Z') return cp + 32;
    return cp;
  }
  if (cp >= 0x110000) return cp;
  const wint_t w = static_cast<wint_t>(cp);
  return static_cast<char32_t>(c == Case::Upper ? towupper_l(w, CaseLocale()) : towlower_l(w, CaseLocale()));
}

std::string MapText(std::string_view text, Case c, size_t from = 0) {
  std::string out;
  out.reserve(text.size());
  out.append(text.substr(0, from));
  for (size_t i = from; i < text.size();) Encode(MapCase(Decode(text, i), c), out);
  return out;
}

bool IsBlankOrTab(char ch) { return ch == ' ' || ch == '\t'; }

}  // namespace

std::string ToUpper(std::string_view text) { return MapText(text, Case::Upper); }
std::string ToLower(std::string_view text) { return MapText(text, Case::Lower); }

std::string ToTitle(std::string_view text) {
  if (text.empty()) return {};
  size_t i = 0;
  std::string out;
  Encode(MapCase(Decode(text, i), Case::Upper), out);
  out += MapText(text.substr(i), Case::Lower);
  return out;
}

std::string TrimBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return std::string(text.substr(b, e - b));
}

std::string TrimBlanksTabs(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlankOrTab(text[b])) ++b;
  while (e > b && IsBlankOrTab(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  // Lower-casing changes the byte length of a few code points (U+0130 "İ"
  // becomes "i", U+023A "Ⱥ" grows to three bytes), so hits found in the
  // lower-cased copy are mapped back to the text through the start of each
  // code point; a hit that starts or ends inside one is no hit.
  std::string hay;
  hay.reserve(text.size());
  std::vector<size_t> origin;  // origin[k]: offset in text of the code point at hay[k], or npos
  origin.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    origin.resize(hay.size() + 1, std::string::npos);
    origin.back() = start;
    Encode(MapCase(Decode(text, i), Case::Lower), hay);
  }
  origin.resize(hay.size() + 1, std::string::npos);
  origin.back() = text.size();
  const std::string needle = ToLower(what);
  std::string out;
  size_t pos = 0;  // in text
  for (size_t from = 0;;) {
    const size_t hit = hay.find(needle, from);
    if (hit == std::string::npos) break;
    const size_t end = hit + needle.size();
    if (origin[hit] == std::string::npos || origin[end] == std::string::npos) {
      from = hit + 1;
      continue;
    }
    out.append(text.substr(pos, origin[hit] - pos));
    out.append(with);
    pos = origin[end];
    from = end;
  }
  out.append(text.substr(pos));
  return out;
}

bool ContainsNoCase(std::string_view text, std::string_view what) {
  return ToLower(text).find(ToLower(what)) != std::string::npos;
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t hit = text.find(separator, start);
    if (hit == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, hit - start));
    start = hit + 1;
  }
}

int32_t ParseNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlankOrTab(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  unsigned base = 10;
  if (i < text.size() && text[i] == '$') { base = 16; ++i; }
  else if (i < text.size() && text[i] == '%') { base = 2; ++i; }
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    unsigned digit;
    if (ch >= '0' && ch <= '9') digit = static_cast<unsigned>(ch - '0');
    else if (base == 16 && ch >= 'a' && ch <= 'f') digit = static_cast<unsigned>(ch - 'a' + 10);
    else if (base == 16 && ch >= 'A' && ch <= 'F') digit = static_cast<unsigned>(ch - 'A' + 10);
    else break;
    if (digit >= base) break;
    value = value * base + digit;  // unsigned arithmetic wraps like the stored 32 bits
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

float ParseDecimal(std::string_view text) {
  const std::string t = ToUpper(TrimBlanksTabs(text));
  if (t == "+INFINITY" || t == "INFINITY") return INFINITY;
  if (t == "-INFINITY") return -INFINITY;
  if (t == "NAN") return NAN;
  // Parse by hand so that the user's locale never changes the separator.
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  double value = 0;
  bool digits = false;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, digits = true) value = value * 10 + (t[i] - '0');
  if (i < t.size() && t[i] == '.') {
    double scale = 0.1;
    for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, digits = true, scale /= 10) value += (t[i] - '0') * scale;
  }
  if (!digits) return 0.0f;
  if (i < t.size() && t[i] == 'E') {
    size_t j = i + 1;
    bool expNeg = false;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) expNeg = t[j++] == '-';
    int exp = 0;
    bool expDigits = false;
    for (; j < t.size() && t[j] >= '0' && t[j] <= '9'; ++j, expDigits = true) exp = exp < 10000 ? exp * 10 + (t[j] - '0') : exp;
    if (expDigits) value *= std::pow(10.0, expNeg ? -exp : exp);
  }
  return static_cast<float>(negative ? -value : value);
}

int64_t ParseLeadingInteger(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + static_cast<unsigned>(text[i] - '0');
  return static_cast<int64_t>(negative ? 0 - value : value);  // wraps, never overflows
}

std::string Latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) Encode(static_cast<unsigned char>(ch), out);
  return out;
}

std::string PathExtension(std::string_view path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view ext = path.substr(dot + 1);
  if (ext.find_first_of(" /\\") != std::string_view::npos) return {};
  return std::string(ext);
}

std::string BaseNameNoExtension(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && name.substr(dot + 1).find(' ') == std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

std::string FolderPart(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

}  // namespace tarnwick
