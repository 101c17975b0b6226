#pragma once

#include <QByteArrayView>
#include <QString>

namespace rtf {

// Fonts of \fcharset2 index glyphs by byte. Windows shows them at U+F000 + byte in the font
// itself; for the Symbol font, whose glyphs all have Unicode equivalents, the real characters are
// used instead, so bullets and Greek letters show whichever fonts are installed.
constexpr int kSymbolCodePage = 42;        // Windows' CP_SYMBOL
constexpr int kAdobeSymbolCodePage = -42;  // the Symbol font itself

QString decodeSymbolFont(QByteArrayView bytes, bool adobeSymbol);

}  // namespace rtf
