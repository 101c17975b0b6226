#pragma once

#include <QFont>

namespace platform {

// Maps the Windows Chinese font names that books and the window design use (宋体 and its
// relatives) to CJK fonts installed here, so Chinese text never shows as boxes.
void installFontSubstitutes();

// 宋体 at a size in points, the face the window designs use for their captions and texts.
QFont songti(double points, bool bold = false);

}  // namespace platform
