#pragma once

// Files tests make: bytes written to a path, pictures encoded in memory.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>

namespace testfiles {

// Replaces whatever is at `path` with `bytes`; false when that fails.
inline bool write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// What `path` holds, or "<missing>" when it cannot be read.
inline QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A picture whose corners tell every turn and mirror apart: top left green, bottom left red, the
// right half blue.
inline QImage corners(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w / 2; ++x)
            image.setPixel(x, y, y < h / 2 ? qRgb(0, 255, 0) : qRgb(255, 0, 0));
    return image;
}

inline QByteArray jpeg(const QImage& image, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

inline QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A real 16 x 16 JPEG or BMP of a few hundred bytes whose header claims far more pixels.
inline QByteArray claimingHuge(const char* format, int width = 16384, int height = 16384) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray b = encoded(image, format);
    if (qstrcmp(format, "JPG") == 0) {
        const qsizetype sof = b.indexOf("\xFF\xC0");
        qToBigEndian<quint16>(quint16(height), b.data() + sof + 5);
        qToBigEndian<quint16>(quint16(width), b.data() + sof + 7);
    } else {  // BMP
        qToLittleEndian<qint32>(width, b.data() + 18);
        qToLittleEndian<qint32>(height, b.data() + 22);
    }
    return b;
}

}  // namespace testfiles
