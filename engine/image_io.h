// Reading JPEG input and writing output files through FreeImage.
#pragma once

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarnwick {

// Bitmaps above this many pixels are refused before any pixel is decoded:
// a JPEG header can claim 65500 by 65500 pixels in a few hundred bytes.
// 250 million pixels holds any camera photo (a 100-megapixel frame with
// room to spare) while keeping a run's peak memory within a desktop's means.
inline constexpr uint64_t kMaxInputPixels = 250'000'000;

// The pixel count the first frame header of a JPEG claims, found by walking
// its markers the way the decoder does; 0 when none is found.
uint64_t ClaimedPixels(const uint8_t* data, size_t size);

// Loads a file with the JPEG reader (flag JPEG_ACCURATE), upright by the
// orientation of its Exif segment, which is read with every offset checked
// rather than by FreeImage. Null when the file cannot be read, is no JPEG,
// or claims a size above kMaxInputPixels.
FIBITMAP* LoadJpeg(const std::string& path);

// Writes dib to path through a temporary file in the same folder that is
// renamed into place only when FreeImage reports success.
bool SaveImage(FIBITMAP* dib, int formatId, const std::string& path, int flags);

}  // namespace tarnwick
