#pragma once

// Photo-like JPEGs for the benchmarks, and libjpeg-turbo decoding one as the baseline they are
// measured against.
#include <QBuffer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace bench {

// A photo-like picture: smooth gradients, hard edges and fine noise, so the JPEG is as costly to
// decode as a camera's.
inline QImage photo(int w, int h, quint32 seed) {
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = int(rng.generate() & 31);
            const int edge = ((x / 97 + y / 61) & 1) * 60;
            line[x] = qRgb((x * 255 / w + n + edge) & 255, (y * 255 / h + n) & 255,
                           ((x + y) * 128 / (w + h) + n * 2) & 255);
        }
    }
    return image;
}

// A JPEG with an EXIF orientation tag (1 to 8) in an APP1 segment after the start marker, and,
// as a camera writes it, a small copy of the photo when `copy` is given.
inline QByteArray withOrientation(const QByteArray& jpeg, int orientation,
                                  const QByteArray& copy = {}) {
    QByteArray tiff("MM\0\x2A\0\0\0\x08", 8);  // big-endian, the first directory at 8
    const auto u16 = [&](quint32 v) { tiff += char(v >> 8 & 255), tiff += char(v & 255); };
    const auto u32 = [&](quint32 v) { u16(v >> 16), u16(v & 0xFFFF); };
    u16(1), u16(0x0112), u16(3), u32(1), u16(quint32(orientation)), u16(0);
    u32(copy.isEmpty() ? 0 : 26);  // the second directory, which points at the copy
    if (!copy.isEmpty()) {
        u16(2), u16(0x0201), u16(4), u32(1), u32(56);
        u16(0x0202), u16(4), u32(1), u32(quint32(copy.size())), u32(0);
    }
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff + copy;
    const int length = int(exif.size()) + 2;
    return jpeg.left(2) + "\xFF\xE1" + char(length >> 8) + char(length & 255) + exif + jpeg.mid(2);
}

// The picture as a JPEG of `quality`, written by Qt.
inline QByteArray jpegOf(const QImage& image, int quality) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.write(image);
    return jpeg;
}

inline double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// libjpeg-turbo decoding the file at 1/denominator, the scale the pipeline's decoder picks.
inline double libjpegDecode(const QByteArray& bytes, int denominator) {
    QElapsedTimer t;
    t.start();
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(denominator);
    jpeg_start_decompress(&info);
    std::vector<unsigned char> row(size_t(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        unsigned char* rows[] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return ms(t);
}

}  // namespace bench
