#pragma once

namespace fonts {

// Maps the Windows font names that books, metafiles and the window design use (宋体 and its
// relatives, the Latin core fonts) to fonts installed here, so Chinese text never shows as
// boxes. Safe to call more than once and from any thread; the work is done once.
void installFontSubstitutes();

}  // namespace fonts
