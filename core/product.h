// The product's name, version and the vendor addresses, kept in one place.
// The vendor hosts live under the reserved "example" domain: they are not
// real, and nothing in the test suite ever contacts them.
#pragma once

#include <string>

namespace tarnwick {

inline constexpr int kProgramVersion = 270;
inline constexpr const char* kProductName = "Tarnwick";
inline constexpr const char* kMakerWord = "Lumacraft";
inline constexpr const char* kCodeName = "tarnwick";
inline constexpr const char* kNoticeLine = "Copyright \xC2\xA9 2026 Lumacraft. All rights reserved.";
inline constexpr const char* kWebSite = "http://www.lumacraft.example";
inline constexpr const char* kSupportMail = "support@lumacraft.example";
inline constexpr const char* kUpdateUrl = "http://update.lumacraft.example/files/tarnwick.dat";

// 270 gives "2.7", 271 "2.7.1", 200 "2.0".
std::string VersionText(int version);
// "Tarnwick 2.7".
std::string TitleText(const std::string& name, int version);

}  // namespace tarnwick
