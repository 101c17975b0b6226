#pragma once

#include "platform/picture.h"

#include <QRectF>
#include <QSizeF>

class QPrinter;

// Printing the page picture: its own size times the print scale, a little in from the printable
// area's corner.
namespace reader {

// The picture's top-left corner sits this far right and down from the printable area's origin.
inline constexpr double kPrintOffsetTwips = 10;

// The picture's rectangle on the page, in device pixels of a printer with `dotsPerInch`, its
// origin at the printable area's corner. `naturalTwips` is the picture's own size.
QRectF printTarget(QSizeF naturalTwips, int scalePercent, double dotsPerInch);

// Draws the picture from its source pixels onto one page and ends the document. False when the
// printer cannot start or finish the page (nothing is reported; the command just ends).
bool printPicture(QPrinter& printer, const platform::Picture& picture, int scalePercent);

}  // namespace reader
