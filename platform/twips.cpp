#include "twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <climits>
#include <cmath>

namespace platform {
namespace {
float pinned = 0.0f;
}

float twipsPerPixel() {
    if (pinned > 0.0f) return pinned;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0.0 ? static_cast<float>(1440.0 / dpi) : 15.0f;
}

void setTwipsPerPixelForTesting(float value) {
    pinned = value;
}

int toPixels(float twips) {
    const double px = std::nearbyint(static_cast<double>(twips) / twipsPerPixel());
    // Widgets cannot take coordinates beyond int range; anything that large is clamped.
    if (!std::isfinite(px)) return 0;
    if (px > INT_MAX / 2) return INT_MAX / 2;
    if (px < INT_MIN / 2) return INT_MIN / 2;
    return static_cast<int>(px);
}

float toTwips(int pixels) {
    return static_cast<float>(pixels) * twipsPerPixel();
}

}  // namespace platform
