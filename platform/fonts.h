#pragma once

namespace platform {

// Maps the Windows Chinese font names that books and the window design use (宋体 and its
// relatives) to CJK fonts installed here, so Chinese text never shows as boxes.
void installFontSubstitutes();

}  // namespace platform
