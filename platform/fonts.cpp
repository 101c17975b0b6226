#include "fonts.h"

#include "fonts/font_substitutes.h"

namespace platform {

void installFontSubstitutes() {
    fonts::installFontSubstitutes();
}

}  // namespace platform
