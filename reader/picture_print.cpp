#include "picture_print.h"

#include <QPainter>
#include <QPrinter>

namespace reader {

QRectF printTarget(QSizeF naturalTwips, int scalePercent, double dotsPerInch) {
    const double dotsPerTwip = dotsPerInch / 1440.0;
    const double scale = scalePercent / 100.0;
    const double offset = kPrintOffsetTwips * dotsPerTwip;
    return {offset, offset, naturalTwips.width() * scale * dotsPerTwip,
            naturalTwips.height() * scale * dotsPerTwip};
}

bool printPicture(QPrinter& printer, const platform::Picture& picture, int scalePercent) {
    if (picture.isNull() || scalePercent <= 0) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The painter's origin is the printable area's corner. The source image goes to the device
    // whole and without lossy re-encoding, so paper gets every pixel the file has, not the
    // screen's scaled copy.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    picture.paint(painter, printTarget(picture.naturalSize(), scalePercent, printer.resolution()));
    return painter.end() && printer.printerState() != QPrinter::Error;
}

}  // namespace reader
