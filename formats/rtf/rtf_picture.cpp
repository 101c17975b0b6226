#include "rtf/rtf_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <algorithm>

#include "metafile/metafile.h"

namespace rtf {

namespace {

constexpr int kMaxTwips = 31680;  // 22 inches, Word's page limit
constexpr int kMaxScale = 1000;   // percent
constexpr int kMaxSide = 4096;    // pixels of a rendered picture

int clampTwips(int v) {
    return std::clamp(v, 0, kMaxTwips);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A DIB block (BITMAPINFO and bits) becomes a BMP file Qt reads.
QByteArray bmpFromDib(const QByteArray& dib) {
    if (dib.size() < 12) return {};
    const quint32 header = qFromLittleEndian<quint32>(dib.constData());
    // The old BITMAPCOREHEADER has 16-bit sizes and a palette of RGB triples.
    const bool core = header == 12;
    if (!core && dib.size() < 40) return {};
    const quint16 bits = qFromLittleEndian<quint16>(dib.constData() + (core ? 10 : 14));
    quint32 colors = core ? 0 : qFromLittleEndian<quint32>(dib.constData() + 32);
    if (colors == 0 && bits <= 8) colors = 1u << bits;
    if (header > quint32(dib.size()) || colors > 256) return {};
    // BI_BITFIELDS keeps three colour masks after the header.
    const bool masks =
        !core && header == 40 && qFromLittleEndian<quint32>(dib.constData() + 16) == 3;
    const quint32 offset = 14 + header + (masks ? 12 : 0) + colors * (core ? 3 : 4);
    QByteArray bmp(14, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), bmp.data() + 2);
    qToLittleEndian<quint32>(offset, bmp.data() + 10);
    return bmp + dib;
}

QImage readImage(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(256);  // megabytes
    return reader.read();
}

// The colours a display shows a bitmap without a palette in: the sixteen standard colours, and
// for 256 colours those twenty fixed ones at both ends around a colour cube and grey ramp.
QList<QRgb> standardPalette(int bits) {
    static const QRgb low[10] = {qRgb(0, 0, 0),      qRgb(128, 0, 0),     qRgb(0, 128, 0),
                                 qRgb(128, 128, 0),  qRgb(0, 0, 128),     qRgb(128, 0, 128),
                                 qRgb(0, 128, 128),  qRgb(192, 192, 192), qRgb(192, 220, 192),
                                 qRgb(166, 202, 240)};
    static const QRgb high[10] = {qRgb(255, 251, 240), qRgb(160, 160, 164), qRgb(128, 128, 128),
                                  qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
                                  qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),
                                  qRgb(255, 255, 255)};
    QList<QRgb> p;
    const auto add = [&p](const QRgb* from, const QRgb* to) {
        while (from != to) p.append(*from++);
    };
    if (bits == 4) {
        add(low, low + 8);
        add(high + 2, high + 10);
        return p;
    }
    add(low, low + 10);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) p.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < 20; ++i) p.append(qRgb(i * 12 + 8, i * 12 + 8, i * 12 + 8));
    add(high, high + 10);
    return p;
}

// A device-dependent bitmap: rows of `widthBytes`, top-down, 1, 4, 8, 24 or 32 bits, no palette
// of its own.
QImage deviceBitmap(const QByteArray& data, int width, int height, int widthBytes, int bits) {
    if (width <= 0 || height <= 0 || width > kMaxSide * 4 || height > kMaxSide * 4) return {};
    if (widthBytes <= 0 || qint64(widthBytes) * height > data.size()) return {};
    if ((bits == 4 || bits == 8) && qint64(widthBytes) * 8 >= qint64(width) * bits) {
        QImage img(width, height, QImage::Format_Indexed8);
        img.setColorTable(standardPalette(bits));
        for (int y = 0; y < height; ++y) {
            const uchar* row =
                reinterpret_cast<const uchar*>(data.constData()) + qint64(y) * widthBytes;
            uchar* out = img.scanLine(y);
            for (int x = 0; x < width; ++x)
                out[x] = bits == 8 ? row[x] : (x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4);
        }
        return img;
    }
    if (bits == 1 && widthBytes * 8 >= width) {
        QImage img(width, height, QImage::Format_Mono);
        img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < height; ++y)
            std::copy_n(data.constData() + qint64(y) * widthBytes, (width + 7) / 8,
                        reinterpret_cast<char*>(img.scanLine(y)));
        return img;
    }
    if ((bits == 24 || bits == 32) && widthBytes * 8 >= width * bits) {
        QImage img(width, height, QImage::Format_RGB32);
        const int step = bits / 8;
        for (int y = 0; y < height; ++y) {
            const uchar* row =
                reinterpret_cast<const uchar*>(data.constData()) + qint64(y) * widthBytes;
            QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < width; ++x)
                out[x] = qRgb(row[x * step + 2], row[x * step + 1], row[x * step]);
        }
        return img;
    }
    return {};
}

}  // namespace

void PictureReader::begin() {
    *this = PictureReader{};
}

bool PictureReader::controlWord(QByteArrayView word, int param, bool hasParam) {
    const int v = hasParam ? param : 0;
    if (word == "pngblip") {
        kind_ = Kind::Png;
    } else if (word == "jpegblip") {
        kind_ = Kind::Jpeg;
    } else if (word == "dibitmap") {
        kind_ = Kind::Dib;
    } else if (word == "wbitmap") {
        kind_ = Kind::DeviceBitmap;
    } else if (word == "wmetafile") {
        kind_ = Kind::Wmf;
    } else if (word == "emfblip") {
        kind_ = Kind::Emf;
    } else if (word == "picw") {
        picw_ = std::clamp(v, 0, 1 << 20);
    } else if (word == "pich") {
        pich_ = std::clamp(v, 0, 1 << 20);
    } else if (word == "picwgoal") {
        goalw_ = clampTwips(v);
    } else if (word == "pichgoal") {
        goalh_ = clampTwips(v);
    } else if (word == "picscalex") {
        scalex_ = std::clamp(v, 1, kMaxScale);
    } else if (word == "picscaley") {
        scaley_ = std::clamp(v, 1, kMaxScale);
    } else if (word == "piccropl") {
        cropl_ = std::clamp(v, -kMaxTwips, kMaxTwips);
    } else if (word == "piccropr") {
        cropr_ = std::clamp(v, -kMaxTwips, kMaxTwips);
    } else if (word == "piccropt") {
        cropt_ = std::clamp(v, -kMaxTwips, kMaxTwips);
    } else if (word == "piccropb") {
        cropb_ = std::clamp(v, -kMaxTwips, kMaxTwips);
    } else if (word == "wbmwidthbytes") {
        wbmWidthBytes_ = std::clamp(v, 0, 1 << 20);
    } else if (word == "wbmbitspixel") {
        wbmBits_ = std::clamp(v, 1, 32);
    } else {
        return false;
    }
    return true;
}

bool PictureReader::append(QByteArrayView bytes) {
    if (refused_) return false;
    if (data_.size() + bytes.size() > kMaxBytes) {
        refused_ = true;
        data_.clear();
        data_.squeeze();
        return false;
    }
    data_.append(bytes);
    return true;
}

void PictureReader::hexText(QByteArrayView text) {
    if (refused_) return;
    QByteArray bytes;
    bytes.reserve(text.size() / 2 + 1);
    for (char c : text) {
        const int h = hexValue(c);
        if (h < 0) continue;  // line breaks and stray letters
        if (nibble_ < 0) {
            nibble_ = h;
        } else {
            bytes.append(char(nibble_ << 4 | h));
            nibble_ = -1;
        }
    }
    append(bytes);
}

void PictureReader::binary(QByteArrayView bytes) {
    append(bytes);
}

QSize PictureReader::displaySize() const {
    // The natural size in twips: the goal when given, else \picw/\pich (pixels of a bitmap at
    // 96 per inch, hundredths of a millimetre of a metafile).
    const bool meta = kind_ == Kind::Wmf || kind_ == Kind::Emf;
    const double perUnit = meta ? 1440.0 / 2540.0 : 15.0;
    const double w = goalw_ > 0 ? goalw_ : picw_ * perUnit;
    const double h = goalh_ > 0 ? goalh_ : pich_ * perUnit;
    const double cw = std::max(0.0, w - cropl_ - cropr_) * scalex_ / 100.0 / 15.0;
    const double ch = std::max(0.0, h - cropt_ - cropb_) * scaley_ / 100.0 / 15.0;
    return QSize(int(std::min<double>(std::lround(cw), kMaxSide)),
                 int(std::min<double>(std::lround(ch), kMaxSide)));
}

QImage PictureReader::decode() const {
    if (refused_ || data_.isEmpty()) return {};
    switch (kind_) {
        case Kind::Png:
            return readImage(data_, "png");
        case Kind::Jpeg:
            return readImage(data_, "jpeg");
        case Kind::Dib:
            return readImage(bmpFromDib(data_), "bmp");
        case Kind::DeviceBitmap:
            return deviceBitmap(data_, picw_, pich_, wbmWidthBytes_, wbmBits_);
        default:
            return readImage(data_, nullptr);  // writers mislabel; let the content tell
    }
}

QImage PictureReader::render() const {
    QSize size = displaySize();
    const bool meta = kind_ == Kind::Wmf || kind_ == Kind::Emf;
    QImage source;
    metafile::Metafile mf;
    if (meta) {
        mf = metafile::Metafile::fromData(refused_ ? QByteArray() : data_);
    } else {
        source = decode();
    }
    if (size.isEmpty()) {
        // No usable size in the file: the picture's own.
        if (!source.isNull())
            size = source.size().boundedTo(QSize(kMaxSide, kMaxSide));
        else if (!mf.isNull())
            size = (mf.sizeTwips() / 15.0).toSize().boundedTo(QSize(kMaxSide, kMaxSide));
        if (size.isEmpty()) return {};
    }
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // The uncropped picture's rectangle on the output: crops are twips of the scaled picture.
    const double sx = scalex_ / 100.0 / 15.0, sy = scaley_ / 100.0 / 15.0;
    const QRectF full(-cropl_ * sx, -cropt_ * sy, size.width() + (cropl_ + cropr_) * sx,
                      size.height() + (cropt_ + cropb_) * sy);
    if (!source.isNull()) {
        p.drawImage(full, source);
    } else if (!mf.isNull()) {
        p.setClipRect(QRect(QPoint(0, 0), size));
        mf.play(p, full);
    } else {
        // Undecodable or refused data: an empty frame keeps the layout the author made.
        p.setPen(QColor(160, 160, 160));
        p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    }
    return out;
}

}  // namespace rtf
