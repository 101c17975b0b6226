#pragma once

// Header parsing and record playback of the two formats. Internal.

#include "player.h"
#include "record_types.h"

#include <QByteArray>
#include <QRectF>
#include <QSizeF>

namespace metafile {

class ByteReader;

// A COLORREF: red, green and blue in the low three bytes.
inline QColor colorRef(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

struct EmfHeader {
    QRectF frameHmm;     // hundredths of a millimetre
    QRectF frameDevice;  // the same in reference-device pixels
    QSizeF devicePerMm;  // reference-device pixels per millimetre
    quint32 handles = 0;
};

// False unless the bytes start with an EMF header record whose sizes and frame hold up.
bool readEmfHeader(QByteArrayView bytes, EmfHeader& header);
void playEmf(QByteArrayView bytes, const EmfHeader& header, Player& player);

struct WmfHeader {
    bool placeable = false;
    QRectF frame;  // logical units: the placeable bounding box or the window
    double unitsPerInch = 0;
    qsizetype recordsAt = 0;  // offset of the first record
    quint16 objects = 0;
    QByteArray embeddedEmf;  // an EMF carried in comment records, complete and checked
};

bool readWmfHeader(QByteArrayView bytes, WmfHeader& header);
void playWmf(QByteArrayView bytes, const WmfHeader& header, Player& player);

// Records that build, clip with or paint regions (regions.cpp).
void wmfRegionRecord(WmfRecord function, ByteReader& r, Player& player);
void emfRegionRecord(EmfRecord type, ByteReader& r, Player& player);

// Logical font parts common to both formats, from a LOGFONT after its fixed fields were read.
GdiObject fontObject(double height, double width, int escapement, int weight, quint8 italic,
                     quint8 underline, quint8 strikeOut, quint8 charset, const QString& face);

}  // namespace metafile
