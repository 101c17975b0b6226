#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

namespace platform {

struct JpegDecode {
    enum class Outcome {
        Decoded,
        // A colour model this decoder leaves to Qt's reader (CMYK, YCCK).
        Unsupported,
        // More working memory than the cap (a progressive picture of very many pixels).
        TooLarge,
        Failed,
        Stopped,
    };
    Outcome outcome = Outcome::Failed;
    QImage image;   // RGB32, as the file stores it (no EXIF turn), when decoded
    QString error;  // the decoder's own words, when failed
};

// Decodes a JPEG with libjpeg-turbo at `size` pixels, in the file's stored orientation: the
// decoder's own DCT scaling reduces it by the largest power of two that still covers `size`, and
// one smooth scaling makes the rest. Setting `*stop` from another thread ends the decode within a
// row of blocks. The decoder's working memory is capped, so a hostile file cannot exhaust it.
JpegDecode decodeJpeg(const QByteArray& bytes, QSize size, const std::atomic<bool>* stop);

// The DCT scale denominator (1, 2, 4 or 8) that decodes `stored` pixels to just cover `wanted`.
int jpegScaleDenominator(QSize stored, QSize wanted);

}  // namespace platform
