#include "fonts.h"

#include "fonts/font_substitutes.h"

namespace platform {

void installFontSubstitutes() {
    fonts::installFontSubstitutes();
}

QFont songti(double points, bool bold) {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace platform
