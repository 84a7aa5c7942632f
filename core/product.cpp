#include "core/product.h"

namespace tarnwick {

std::string VersionText(int version) {
  const std::string digits = std::to_string(version);
  // A dot before the second and before the fourth character: 270 -> 2.7.0.
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i == 1 || i == 2) text += '.';
    text += digits[i];
  }
  if (!text.empty() && text.back() == '0') text.resize(std::min<size_t>(3, text.size()));
  return text;
}

std::string TitleText(const std::string& name, int version) { return name + " " + VersionText(version); }

}  // namespace tarnwick
