#pragma once

#include <QByteArray>
#include <QImage>

namespace bookgen {

// Qt reads GIF but cannot write it, so the one GIF page of the sample book goes through this
// small single-frame GIF89a encoder. The image is reduced to at most 256 colours first; a
// picture painted with few flat colours keeps them exactly.
QByteArray encodeGif(const QImage& image);

}  // namespace bookgen
