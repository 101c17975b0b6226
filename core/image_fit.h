#pragma once

#include "platform/geometry.h"

#include <cstdint>

// Fitting and placing the page image in its viewport, as plain arithmetic on twips values.
namespace core {

struct Size {
    float width = 0.0f;
    float height = 0.0f;
};

// Scales `image` so that it fills the viewport's outer size in one dimension, keeping its aspect
// ratio (ties fit the width). A division by zero skips the assignment that needs it, so that
// dimension keeps its value.
void fitSize(platform::Geometry& image, Size viewportOuter);

// Where the image goes along one axis, and what its scroll bar does.
struct AxisPlacement {
    bool scroll = false;  // the image is larger than the viewport: show the bar
    float offset = 0.0f;  // Left or Top of the image
    int16_t maximum = 0;  // the bar's Maximum, when it scrolls
    float unit = 1.0f;    // twips per scroll unit (above 1 only for very large excesses)
};

// Larger than the outer size: starts at 0 and scrolls over (image - inner); otherwise centred in
// the inner size. An excess beyond the bar's 16-bit range is spread over coarser units, so every
// part of the image stays reachable.
AxisPlacement placeAxis(float image, float outer, float inner);

// The image's offset for a scroll bar value.
float scrollOffset(int value, float unit);

// Whole number with halves to the even neighbour; false when it does not fit in 32 bits.
bool roundToInt32(double v, int32_t& out);

}  // namespace core
