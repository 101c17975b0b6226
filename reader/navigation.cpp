#include "navigation.h"

#include "platform/geometry.h"

namespace reader {

std::optional<QSizeF> zoomStep(QSizeF size, double factor, float twipsPerPixel) {
    const double w = platform::single(size.width() * factor);
    const double h = platform::single(size.height() * factor);
    const double maxTwips = kMaxZoomPixels * twipsPerPixel;
    if (w > maxTwips || h > maxTwips) return std::nullopt;
    if (w < twipsPerPixel || h < twipsPerPixel) return std::nullopt;
    return QSizeF(w, h);
}

}  // namespace reader
