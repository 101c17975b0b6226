#pragma once

#include "core/page_turn.h"

#include <QSizeF>

#include <cstdint>
#include <optional>

// Page stepping and zoom arithmetic of the reader, free of widgets.
namespace reader {

using core::nextPage;
using core::previousPage;

inline constexpr double kEnlargeFactor = 1.2;
inline constexpr double kShrinkFactor = 0.8;
// Beyond this many pixels on a side a zoomed picture could not be drawn.
inline constexpr double kMaxZoomPixels = 32767;

// The image size after one zoom step, or nothing when the step would make it larger than the
// display can draw or smaller than one pixel.
std::optional<QSizeF> zoomStep(QSizeF size, double factor, float twipsPerPixel);

}  // namespace reader
