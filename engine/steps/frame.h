// The solid frame's band widths, shared by the frame and watermark steps.
#pragma once

#include "core/settings.h"

namespace tarnwick {

struct FrameWidths {
  int left = 0, right = 0, top = 0, bottom = 0;
};

// "Solid Left", "Solid Right", "Solid Top" and "Solid Bottom" as the frame
// draws them on a width by height image: a negative width counts as 0 and
// a width beyond the image's side as that side (left and right up to the
// width, top and bottom up to the height). So every band stays a shape
// inside the image, and bands wider than half the image overlap, the later
// ones covering the earlier.
FrameWidths FrameBandWidths(const Settings& s, int width, int height);

}  // namespace tarnwick
