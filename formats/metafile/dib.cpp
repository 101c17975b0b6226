#include "dib.h"

#include "byte_reader.h"
#include "player.h"

#include <QBuffer>
#include <QImageReader>

#include <bit>
#include <vector>

namespace metafile {
namespace {

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;
    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        max = m >> shift;
        // A mask with holes counts as its full width; a 32-bit one must not shift by 32.
        if (max & (max + 1)) max = (uint64_t(1) << std::bit_width(max)) - 1;
    }
    int value(uint32_t px) const {
        return max ? int(uint64_t((px & mask) >> shift) * 255 / max) : 0;
    }
};

// Expands RLE8 or RLE4 into one palette index per pixel, rows as stored (bottom-up).
bool expandRle(QByteArrayView bits, int w, int h, bool four, std::vector<uint8_t>& out) {
    out.assign(size_t(w) * size_t(h), 0);
    ByteReader r(bits);
    int x = 0, y = 0;
    auto put = [&](uint8_t v) {
        if (x < w && y < h) out[size_t(y) * size_t(w) + size_t(x)] = v;
        ++x;  // runs past the line are dropped, not wrapped
    };
    while (r.remaining() >= 2 && y < h) {
        const uint8_t n = r.u8(), c = r.u8();
        if (n > 0) {
            for (int i = 0; i < n && x < w; ++i) put(four ? ((i & 1) ? c & 0x0F : c >> 4) : c);
            continue;
        }
        if (c == 0) {
            x = 0;
            ++y;
        } else if (c == 1) {
            break;
        } else if (c == 2) {
            x += r.u8();
            y += r.u8();
        } else {
            const int bytes = four ? (c + 1) / 2 : c;
            if (!r.has(bytes)) return false;
            for (int i = 0; i < c; ++i) {
                const uint8_t b = uint8_t(r.data()[r.pos() + (four ? i / 2 : i)]);
                put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            }
            r.skip(bytes + (bytes & 1));
        }
    }
    return true;
}

}  // namespace

Dib decodeDib(QByteArrayView info, QByteArrayView bits, Budget& budget, bool alpha) {
    ByteReader r(info);
    const uint32_t headerSize = r.u32();
    int64_t w = 0, h = 0;
    int bpp = 0;
    uint32_t compression = 0, colorsUsed = 0;
    int entrySize = 4;
    if (headerSize == 12) {
        w = r.u16();
        h = r.u16();
        r.u16();
        bpp = r.u16();
        entrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        w = r.i32();
        h = r.i32();
        r.u16();
        bpp = r.u16();
        compression = r.u32();
        r.skip(12);
        colorsUsed = r.u32();
    } else {
        return {};
    }
    if (!r.ok()) return {};
    const bool topDown = h < 0;
    h = h < 0 ? -h : h;
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535 || w * h > kMaxBitmapPixels) return {};
    if (!budget.charge(0, 0, w * h)) return {};

    if (compression == 4 || compression == 5) {  // BI_JPEG, BI_PNG
        QByteArray copy = bits.toByteArray();
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, compression == 4 ? "jpeg" : "png");
        const QSize size = reader.size();
        if (!size.isValid() || qint64(size.width()) * size.height() > kMaxBitmapPixels) return {};
        QImage image = reader.read();
        if (image.isNull()) return {};
        return {image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32), false};
    }

    Channel red, green, blue, alphaChannel(alpha ? 0xFF000000u : 0);
    qsizetype tableAt = headerSize;
    if (compression == 3 || compression == 6) {  // BI_BITFIELDS, BI_ALPHABITFIELDS
        ByteReader m(info);
        m.seek(40);
        red = Channel(m.u32());
        green = Channel(m.u32());
        blue = Channel(m.u32());
        if (compression == 6 || headerSize > 40) {
            const uint32_t a = m.u32();
            if (alpha) alphaChannel = Channel(a);
        }
        if (!m.ok()) return {};
        if (headerSize == 40) tableAt += compression == 6 ? 16 : 12;
    } else if (bpp == 16) {
        red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
    } else if (bpp == 24 || bpp == 32) {
        red = Channel(0xFF0000), green = Channel(0xFF00), blue = Channel(0xFF);
    }

    std::vector<QRgb> table;
    if (bpp <= 8) {
        if (bpp != 1 && bpp != 4 && bpp != 8) return {};
        const uint32_t n = colorsUsed && colorsUsed < (1u << bpp) ? colorsUsed : (1u << bpp);
        table.assign(1u << bpp, qRgb(0, 0, 0));
        ByteReader t(info);
        t.seek(tableAt);
        for (uint32_t i = 0; i < n && t.has(entrySize); ++i) {
            const uint8_t b = t.u8(), g = t.u8(), rr = t.u8();
            if (entrySize == 4) t.u8();
            table[i] = qRgb(rr, g, b);
        }
    } else if (bpp != 16 && bpp != 24 && bpp != 32) {
        return {};
    }

    QImage image(int(w), int(h), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) return {};
    std::vector<uint8_t> rle;
    const bool isRle = compression == 1 || compression == 2;
    if (isRle) {
        if ((compression == 1 && bpp != 8) || (compression == 2 && bpp != 4)) return {};
        if (!expandRle(bits, int(w), int(h), compression == 2, rle)) return {};
    } else if (compression != 0 && compression != 3 && compression != 6) {
        return {};
    }
    const int64_t stride = (w * bpp + 31) / 32 * 4;
    if (!isRle && stride * h > bits.size()) return {};

    for (int64_t y = 0; y < h; ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(int(topDown ? y : h - 1 - y)));
        if (isRle) {
            const uint8_t* in = rle.data() + y * w;
            for (int64_t x = 0; x < w; ++x) out[x] = table[in[x]];
            continue;
        }
        const auto* in = reinterpret_cast<const uint8_t*>(bits.data()) + y * stride;
        for (int64_t x = 0; x < w; ++x) {
            switch (bpp) {
                case 1:
                    out[x] = table[(in[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                case 4:
                    out[x] = table[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
                    break;
                case 8:
                    out[x] = table[in[x]];
                    break;
                default: {
                    uint32_t px = 0;
                    const int bytes = bpp / 8;
                    for (int b = 0; b < bytes; ++b) px |= uint32_t(in[x * bytes + b]) << (8 * b);
                    const int a = alphaChannel.mask ? alphaChannel.value(px) : 255;
                    out[x] = qRgba(red.value(px), green.value(px), blue.value(px), a);
                }
            }
        }
    }
    return {image, !topDown};
}

Dib decodePackedDib(QByteArrayView packed, Budget& budget, bool alpha) {
    ByteReader r(packed);
    const uint32_t headerSize = r.u32();
    if (!r.ok() || headerSize < 12 || headerSize > uint32_t(packed.size())) return {};
    int bpp = 0;
    uint32_t compression = 0, colorsUsed = 0;
    qsizetype entry = 4;
    if (headerSize == 12) {
        r.seek(10);
        bpp = r.u16();
        entry = 3;
    } else {
        r.seek(14);
        bpp = r.u16();
        compression = r.u32();
        r.seek(32);
        colorsUsed = r.u32();
    }
    if (!r.ok()) return {};
    qsizetype tableBytes = 0;
    if (bpp >= 1 && bpp <= 8)
        tableBytes =
            entry * qsizetype(colorsUsed && colorsUsed < (1u << bpp) ? colorsUsed : (1u << bpp));
    else if (colorsUsed && colorsUsed <= 256)
        tableBytes = entry * qsizetype(colorsUsed);
    if (headerSize == 40 && compression == 3) tableBytes += 12;
    if (headerSize == 40 && compression == 6) tableBytes += 16;
    const qsizetype bitsAt = qsizetype(headerSize) + tableBytes;
    if (bitsAt > packed.size()) return {};
    return decodeDib(packed.first(bitsAt), packed.sliced(bitsAt), budget, alpha);
}

}  // namespace metafile
