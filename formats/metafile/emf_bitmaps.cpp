// EMF records that carry bitmaps, gradients, text and extended pens.
#include "emf_player.h"

#include <QLinearGradient>

#include <cmath>

namespace metafile {

constexpr qsizetype kEmrTextSize = 40;  // an EMRTEXT with its rectangle

Dib EmfPlayer::dibAt(ByteReader& r, uint32_t offBmi, uint32_t cbBmi, uint32_t offBits,
                     uint32_t cbBits, bool alpha) {
    const QByteArrayView info = r.slice(offBmi, cbBmi), bits = r.slice(offBits, cbBits);
    if (info.isEmpty() || bits.isEmpty()) return {};
    return decodeDib(info, bits, p_.budget(), alpha);
}

GdiObject EmfPlayer::extPen(ByteReader& r) {
    const uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    Q_UNUSED(offBmi);
    Q_UNUSED(cbBmi);
    Q_UNUSED(offBits);
    Q_UNUSED(cbBits);
    GdiObject o;
    o.kind = GdiObject::Pen;
    o.pen.style = r.u32();
    o.pen.width = r.u32();
    const uint32_t brushStyle = r.u32();
    o.pen.color = colorRef(r.u32());
    r.u32();  // hatch
    const uint32_t entries = r.u32();
    if ((o.pen.style & 0x000F0000u) == 0) o.pen.width = 0;          // PS_COSMETIC: one pixel
    if (brushStyle == 1) o.pen.style = (o.pen.style & ~0x0Fu) | 5;  // BS_NULL draws nothing
    if (entries <= 16 && r.has(qsizetype(entries) * 4))
        for (uint32_t i = 0; i < entries; ++i) o.pen.userDashes.append(r.u32());
    return o;
}

void EmfPlayer::text(ByteReader& r, bool wide) {
    r.skip(16 + 12);  // bounds, graphics mode, scales
    emrText(r, wide);
}

void EmfPlayer::polyText(ByteReader& r, bool wide) {
    r.skip(16 + 12);
    const uint32_t count = r.u32();
    if (!r.ok() || count > r.remaining() / kEmrTextSize || !p_.budget().charge(0, count)) return;
    for (uint32_t i = 0; i < count; ++i) emrText(r, wide);
}

// One EMRTEXT at the reader's position, read whole before any check so that the next one follows;
// its string and advances lie at offsets in the record.
void EmfPlayer::emrText(ByteReader& r, bool wide) {
    const QPointF ref = r.point32();
    const uint32_t chars = r.u32(), offString = r.u32(), options = r.u32();
    const QRectF rect = r.rect32();
    const uint32_t offDx = r.u32();
    if (!r.ok() || chars > uint32_t(kMaxTextChars) || (options & 0x10)) return;  // glyph indices
    const QByteArrayView raw = r.slice(offString, qsizetype(chars) * (wide ? 2 : 1));
    if (raw.size() != qsizetype(chars) * (wide ? 2 : 1)) return;  // a string past its record
    QString s;
    if (wide) {
        ByteReader sr(raw);
        for (uint32_t i = 0; i < chars; ++i) s.append(QChar(char16_t(sr.u16())));
    } else {
        s = decodeAnsi(raw, p_.dc().font.charset);
    }
    QList<double> dx;
    const qsizetype step = (options & 0x2000) ? 8 : 4;  // ETO_PDY: x and y advances
    const QByteArrayView dxBytes = r.slice(offDx, qsizetype(chars) * step);
    if (offDx && dxBytes.size() == qsizetype(chars) * step && s.size() == qsizetype(chars)) {
        ByteReader dr(dxBytes);
        for (uint32_t i = 0; i < chars; ++i) {
            dx.append(dr.i32());
            if (step == 8) dr.i32();
        }
    }
    p_.text(ref, s, dx, options, rect.isEmpty() ? QRectF() : rect);
}

void EmfPlayer::bitmapRecord(EmfRecord type, ByteReader& r) {
    r.skip(16);
    QRectF dest, src;
    uint32_t rop = 0xCC0020, offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
    double opacity = 1.0;
    bool alpha = false, fromBottom = false, keyed = false;
    uint32_t key = 0;
    if (type == EmfRecord::SetDiBitsToDevice || type == EmfRecord::StretchDiBits) {
        const QPointF d = r.point32(), s = r.point32(), cs = r.point32();
        offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        r.u32();  // colour usage
        QPointF cd = cs;
        if (type == EmfRecord::StretchDiBits) {
            rop = r.u32();
            cd = r.point32();
        }
        dest = QRectF(d, QSizeF(cd.x(), cd.y()));
        src = QRectF(s, QSizeF(cs.x(), cs.y()));
        fromBottom = true;
    } else {
        const QPointF d = r.point32(), cd = r.point32();
        const uint32_t blend = r.u32();
        const QPointF s = r.point32();
        r.skip(24 + 4 + 4);  // source transform, background colour, usage
        offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        QPointF cs = cd;
        if (type != EmfRecord::BitBlt) cs = r.point32();
        dest = QRectF(d, QSizeF(cd.x(), cd.y()));
        src = QRectF(s, QSizeF(cs.x(), cs.y()));
        if (type == EmfRecord::AlphaBlend) {  // the fourth field is a BLENDFUNCTION
            opacity = ((blend >> 16) & 0xFF) / 255.0;
            alpha = (blend >> 24) & 1;
        } else if (type == EmfRecord::TransparentBlt) {  // the fourth field is the colour left out
            keyed = true;
            key = blend;
        } else {
            rop = blend;
        }
    }
    if (!r.ok()) return;
    if (cbBmi == 0) {  // no bitmap: the brush and the destination only
        p_.blit(dest, nullptr, {}, rop);
        return;
    }
    Dib dib = dibAt(r, offBmi, cbBmi, offBits, cbBits, alpha);
    if (dib.image.isNull()) return;
    if (keyed) {
        QImage& im = dib.image;
        im = im.convertToFormat(QImage::Format_ARGB32);
        const QRgb out = colorRef(key).rgb();
        for (int y = 0; y < im.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(im.scanLine(y));
            for (int x = 0; x < im.width(); ++x)
                if ((line[x] | 0xFF000000u) == out) line[x] = 0;
        }
    }
    if (fromBottom && dib.bottomUp) src.moveTop(dib.image.height() - src.top() - src.height());
    p_.blit(dest, &dib.image, src, rop, opacity, !keyed);
}

void EmfPlayer::gradient(ByteReader& r) {
    r.skip(16);
    const uint32_t vertices = r.u32(), objects = r.u32(), mode = r.u32();
    const qsizetype each = mode == 2 ? 12 : 8;
    if (!r.ok() || mode > 2 || qsizetype(vertices) > r.remaining() / 16 ||
        qsizetype(objects) > (r.remaining() - qsizetype(vertices) * 16) / each ||
        !p_.budget().charge(0, vertices + objects))
        return;
    struct Vertex {
        QPointF pt;
        QColor color;
    };
    std::vector<Vertex> v(vertices);
    for (Vertex& x : v) {
        x.pt = r.point32();
        const int red = r.u16() >> 8, green = r.u16() >> 8, blue = r.u16() >> 8;
        r.u16();
        x.color = QColor(red, green, blue);
    }
    for (uint32_t i = 0; i < objects; ++i) {
        const uint32_t a = r.u32(), b = r.u32(), c = mode == 2 ? r.u32() : 0;
        if (a >= vertices || b >= vertices || c >= vertices) continue;
        if (mode == 2) {  // a triangle takes its corners' mean colour
            const QColor ca = v[a].color, cb = v[b].color, cc = v[c].color;
            const QColor mean((ca.red() + cb.red() + cc.red()) / 3,
                              (ca.green() + cb.green() + cc.green()) / 3,
                              (ca.blue() + cb.blue() + cc.blue()) / 3);
            QPainterPath path;
            path.addPolygon(QPolygonF({v[a].pt, v[b].pt, v[c].pt}));
            p_.fillShape(path, mean);
            continue;
        }
        const QRectF rc = QRectF(v[a].pt, v[b].pt).normalized();
        QLinearGradient g(v[a].pt, mode == 0 ? QPointF(v[b].pt.x(), v[a].pt.y())
                                             : QPointF(v[a].pt.x(), v[b].pt.y()));
        g.setColorAt(0, v[a].color);
        g.setColorAt(1, v[b].color);
        p_.fillRect(rc, QBrush(g));
    }
}

}  // namespace metafile
