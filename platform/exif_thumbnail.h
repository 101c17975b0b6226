#pragma once

#include <QByteArray>

namespace platform {

// The small JPEG a camera stores inside a photo's EXIF block (IFD1's JPEGInterchangeFormat), or
// empty when there is none or the block is malformed. Every offset is checked against the
// segment it lies in; nothing is read outside `jpeg`.
QByteArray exifThumbnail(const QByteArray& jpeg);

}  // namespace platform
