#include "image_fit.h"

#include <cmath>
#include <limits>
#include <optional>

namespace core {
namespace {

std::optional<double> divide(double a, double b) {
    if (b == 0.0 || !std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
    return a / b;
}

}  // namespace

bool roundToInt32(double v, int32_t& out) {
    if (!std::isfinite(v)) return false;
    const double r = std::nearbyint(v);  // the default rounding mode sends halves to even
    if (r > std::numeric_limits<int32_t>::max() || r < std::numeric_limits<int32_t>::min())
        return false;
    out = static_cast<int32_t>(r);
    return true;
}

void fitSize(platform::Geometry& image, Size viewport) {
    // Each step on its own: a failed one leaves what it would have written at its old value.
    double rw = 0.0, rh = 0.0;
    if (auto q = divide(image.width, viewport.width)) rw = *q;
    if (auto q = divide(image.height, viewport.height)) rh = *q;
    int32_t h0 = 0, w0 = 0;
    roundToInt32(image.height, h0);
    roundToInt32(image.width, w0);

    if (rw >= rh) {
        image.setWidth(viewport.width);
        if (auto q = divide(viewport.width, w0))
            image.setHeight(platform::single(image.height * *q));
    } else {
        image.setHeight(viewport.height);
        if (auto q = divide(viewport.height, h0))
            image.setWidth(platform::single(image.width * *q));
    }
}

AxisPlacement placeAxis(float image, float outer, float inner) {
    AxisPlacement p;
    if (image > outer) {
        p.scroll = true;
        p.offset = 0.0f;
        const double excess = static_cast<double>(image) - inner;
        int32_t whole = 0;
        if (roundToInt32(excess, whole) && whole <= std::numeric_limits<int16_t>::max()) {
            p.maximum = static_cast<int16_t>(std::max(whole, 0));
        } else {
            p.maximum = std::numeric_limits<int16_t>::max();
            p.unit = static_cast<float>(excess / p.maximum);
        }
    } else {
        p.offset = platform::single((static_cast<double>(inner) - image) / 2.0);
    }
    return p;
}

float scrollOffset(int value, float unit) {
    return platform::single(-static_cast<double>(value) * unit);
}

}  // namespace core
