#include "navigation.h"

#include "platform/geometry.h"

namespace reader {

int16_t nextPage(int16_t current, int pageCount) {
    if (pageCount <= 1) return current;
    int page = current + 1;
    if (page > pageCount) page = 1;
    return static_cast<int16_t>(page);
}

int16_t previousPage(int16_t current, int pageCount) {
    if (pageCount <= 1) return current;
    int page = current - 1;
    if (page < 1) page = pageCount;
    return static_cast<int16_t>(page);
}

std::optional<QSizeF> zoomStep(QSizeF size, double factor, float twipsPerPixel) {
    const double w = platform::single(size.width() * factor);
    const double h = platform::single(size.height() * factor);
    const double maxTwips = kMaxZoomPixels * twipsPerPixel;
    if (w > maxTwips || h > maxTwips) return std::nullopt;
    if (w < twipsPerPixel || h < twipsPerPixel) return std::nullopt;
    return QSizeF(w, h);
}

}  // namespace reader
