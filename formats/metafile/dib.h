#pragma once

// Device-independent bitmaps as metafiles carry them. Internal.

#include <QByteArrayView>
#include <QImage>

namespace metafile {

class Budget;

struct Dib {
    QImage image;          // top-down
    bool bottomUp = true;  // how the file stored its rows (source rectangles count from there)
};

// Decodes a BITMAPINFO header with its colour table, and the bits. Null on anything that does not
// add up: sizes that overflow, fewer bits than the header claims, RLE runs past their line, more
// pixels than the caps allow. `alpha` keeps a 32-bit bitmap's fourth byte as alpha.
Dib decodeDib(QByteArrayView info, QByteArrayView bits, Budget& budget, bool alpha = false);

// A packed DIB (header, colour table and bits in one block), as WMF records hold it.
Dib decodePackedDib(QByteArrayView packed, Budget& budget, bool alpha = false);

}  // namespace metafile
