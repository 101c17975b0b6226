#pragma once

#include <cmath>

namespace platform {

// Left, Top, Width, Height of a control in twips, relative to its container. A negative or
// non-finite size is rejected: the assignment fails on its own and the old value stays.
struct Geometry {
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    bool setLeft(float v) { return assign(left, v, false); }
    bool setTop(float v) { return assign(top, v, false); }
    bool setWidth(float v) { return assign(width, v, true); }
    bool setHeight(float v) { return assign(height, v, true); }

    friend bool operator==(const Geometry&, const Geometry&) = default;

  private:
    static bool assign(float& field, float v, bool isSize) {
        if (!std::isfinite(v) || (isSize && v < 0.0f)) return false;
        field = v;
        return true;
    }
};

// Values computed in double precision are stored back as single precision.
inline float single(double v) {
    return static_cast<float>(v);
}

}  // namespace platform
