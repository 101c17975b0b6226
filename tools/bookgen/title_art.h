#pragma once

#include <QFont>
#include <QImage>

namespace bookgen {

// The reader's start-up picture: an open picture book in a spring landscape under the title.
QImage startupPicture();  // 734 x 488

// The window icon, a small open book, drawn separately at each size so it stays crisp.
QImage windowIcon(int size);  // any size; 16 draws fewer text lines
// The same icon as scalable vector graphics.
QByteArray windowIconSvg();

// A CJK font of the given pixel size; falls back to whatever the system offers.
QFont cjkFont(int pixelSize, bool serif, QFont::Weight weight);

}  // namespace bookgen
