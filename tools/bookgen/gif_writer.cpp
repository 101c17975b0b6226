#include "gif_writer.h"

#include <QHash>
#include <QList>

namespace bookgen {

namespace {

// Packs variable-width LZW codes least significant bit first, as GIF wants.
class CodeWriter {
  public:
    void put(int code, int width) {
        acc_ |= quint32(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_.append(char(acc_ & 0xff));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    QByteArray finish() {
        if (bits_ > 0) bytes_.append(char(acc_ & 0xff));
        acc_ = 0;
        bits_ = 0;
        return bytes_;
    }

  private:
    QByteArray bytes_;
    quint32 acc_ = 0;
    int bits_ = 0;
};

QByteArray lzwCompress(const QImage& indexed, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    constexpr int kMaxCode = 4096;
    QHash<quint32, int> table;
    int nextCode = endCode + 1;
    int width = minCodeSize + 1;
    CodeWriter out;
    out.put(clearCode, width);

    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int k = row[x];
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const quint32 key = (quint32(prefix) << 8) | quint32(k);
            const auto found = table.constFind(key);
            if (found != table.constEnd()) {
                prefix = *found;
                continue;
            }
            out.put(prefix, width);
            if (nextCode < kMaxCode) {
                table.insert(key, nextCode++);
                // The decoder adds its entry one code later, so widen once the next code
                // no longer fits the current width.
                if (nextCode > (1 << width) && width < 12) ++width;
            } else {
                out.put(clearCode, width);
                table.clear();
                nextCode = endCode + 1;
                width = minCodeSize + 1;
            }
            prefix = k;
        }
    }
    if (prefix >= 0) out.put(prefix, width);
    out.put(endCode, width);
    return out.finish();
}

void putWord(QByteArray& out, int value) {
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

}  // namespace

QByteArray encodeGif(const QImage& image) {
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QList<QRgb> colors = indexed.colorTable();

    int tableBits = 1;  // the colour table holds 2^tableBits entries, at least 2
    while ((1 << tableBits) < colors.size()) ++tableBits;
    colors.resize(1 << tableBits, qRgb(0, 0, 0));

    QByteArray out("GIF89a");
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append(char(0x80 | ((tableBits - 1) << 4) | (tableBits - 1)));  // global table
    out.append(char(0));                                                // background index
    out.append(char(0));                                                // square pixels
    for (QRgb c : colors) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }

    out.append(',');  // image descriptor: whole screen, no local table, not interlaced
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, indexed.width());
    putWord(out, indexed.height());
    out.append(char(0));

    const int minCodeSize = qMax(2, tableBits);
    out.append(char(minCodeSize));
    const QByteArray data = lzwCompress(indexed, minCodeSize);
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const QByteArray block = data.mid(pos, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));  // end of image data
    out.append(';');      // trailer
    return out;
}

}  // namespace bookgen
