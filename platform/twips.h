#pragma once

// Geometry of every control is kept in twips (1/1440 inch) as single-precision values, exactly as
// the logic assigns them; only the widgets underneath see whole device pixels.
namespace platform {

// Twips per device pixel from the primary screen's logical DPI (15 at 96 DPI).
float twipsPerPixel();

// Pins the factor (tests use it to make pixel mapping independent of the screen); 0 unpins.
void setTwipsPerPixelForTesting(float twipsPerPixel);

int toPixels(float twips);
float toTwips(int pixels);

}  // namespace platform
