#include "byte_reader.h"
#include "dib.h"
#include "records.h"

namespace metafile {
namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr quint32 kCommentWmfc = 0x43464D57;  // "WMFC": an EMF carried in comments
constexpr qsizetype kMaxEmbeddedEmf = 64LL * 1024 * 1024;

// Parameters come last-first: a point is y then x, a rectangle bottom, right, top, left.
QPointF pointYX(ByteReader& r) {
    const double y = r.i16();
    return {double(r.i16()), y};
}

QRectF rectBRTL(ByteReader& r) {
    const double b = r.i16(), rt = r.i16(), t = r.i16(), l = r.i16();
    return QRectF(QPointF(l, t), QPointF(rt, b));
}

bool doubleByte(int charset) {
    return charset == 1 || charset == 128 || charset == 129 || charset == 134 || charset == 136;
}

GdiObject otherObject() {
    GdiObject o;
    o.kind = GdiObject::Other;
    return o;
}

bool drawsSomething(WmfRecord function) {
    switch (function) {
        case WmfRecord::LineTo:
        case WmfRecord::Polygon:
        case WmfRecord::Polyline:
        case WmfRecord::PolyPolygon:
        case WmfRecord::Ellipse:
        case WmfRecord::Rectangle:
        case WmfRecord::RoundRect:
        case WmfRecord::Arc:
        case WmfRecord::Pie:
        case WmfRecord::Chord:
        case WmfRecord::TextOut:
        case WmfRecord::ExtTextOut:
        case WmfRecord::PatBlt:
        case WmfRecord::DibBitBlt:
        case WmfRecord::DibStretchBlt:
        case WmfRecord::StretchDib:
        case WmfRecord::SetPixel:
        case WmfRecord::SetDibToDev:
        case WmfRecord::FillRegion:
        case WmfRecord::FrameRegion:
        case WmfRecord::InvertRegion:
        case WmfRecord::PaintRegion:
            return true;
        default:
            return false;
    }
}

QPolygonF readPoints(ByteReader& r, uint32_t count, Budget& budget) {
    if (qsizetype(count) > r.remaining() / 4 || !budget.charge(0, count)) return {};
    QPolygonF pts;
    pts.reserve(count);
    for (uint32_t i = 0; i < count; ++i) pts.append(r.point16());
    return pts;
}

// Walks the records without drawing; `visit` gets each record's function and parameters and
// returns false to stop. Stops at a record whose size does not fit.
template <typename Visit>
void walk(QByteArrayView bytes, qsizetype from, Budget* budget, Visit visit) {
    qsizetype pos = from;
    while (bytes.size() - pos >= 6) {
        ByteReader head(bytes.sliced(pos, 6));
        const qint64 size = qint64(head.u32()) * 2;
        const WmfRecord function = WmfRecord(head.u16());
        if (size < 6 || size > bytes.size() - pos) return;
        if (budget && !budget->charge(1)) return;
        if (function == WmfRecord::Eof) return;
        ByteReader params(bytes.sliced(pos + 6, size - 6));
        if (!visit(function, params)) return;
        pos += size;
    }
}

class WmfPlayer {
  public:
    explicit WmfPlayer(Player& p) : p_(p) {}
    bool record(WmfRecord function, ByteReader& r);

  private:
    void text(ByteReader& r, bool extended);
    void blit(WmfRecord function, ByteReader& r);
    GdiObject font(ByteReader& r);
    Player& p_;
};

GdiObject WmfPlayer::font(ByteReader& r) {
    const double height = r.i16(), width = r.i16();
    const int esc = r.i16();
    r.i16();
    const int weight = r.i16();
    const quint8 italic = r.u8(), underline = r.u8(), strike = r.u8(), charset = r.u8();
    r.skip(4);
    QByteArray name;
    for (int i = 0; i < 32 && r.has(1); ++i) {
        const char c = char(r.u8());
        if (!c) break;
        name.append(c);
    }
    return fontObject(height, width, esc, weight, italic, underline, strike, charset,
                      decodeAnsi(name, charset));
}

void WmfPlayer::text(ByteReader& r, bool extended) {
    QPointF ref;
    uint16_t options = 0;
    QRectF rect;
    qsizetype length = 0;
    QByteArrayView raw;
    if (extended) {
        ref = pointYX(r);
        length = r.i16();
        options = r.u16();
        if (options & 0x06) {  // ETO_OPAQUE, ETO_CLIPPED
            const double l = r.i16(), t = r.i16(), rt = r.i16(), b = r.i16();
            rect = QRectF(QPointF(l, t), QPointF(rt, b));
        }
        if (length < 0 || length > kMaxTextChars || !r.has(length)) return;
        raw = r.slice(r.pos(), length);
        r.skip(length + (length & 1));
    } else {
        length = r.i16();
        if (length < 0 || length > kMaxTextChars || !r.has(length)) return;
        raw = r.slice(r.pos(), length);
        r.skip(length + (length & 1));
        ref = pointYX(r);
    }
    if (!r.ok()) return;
    const int charset = p_.dc().font.charset;
    const QString s = decodeAnsi(raw, charset);
    QList<double> dx;
    if (extended && r.remaining() >= length * 2) {
        // One advance per byte; a double-byte character takes the sum of its two.
        const bool dbcs = doubleByte(charset);
        for (qsizetype i = 0; i < length; ++i) {
            const uint8_t b = uint8_t(raw[i]);
            double advance = r.i16();
            if (dbcs && b >= 0x81 && b <= 0xFE && i + 1 < length) {
                advance += r.i16();
                ++i;
            }
            dx.append(advance);
        }
        if (dx.size() != s.size()) dx.clear();
    }
    p_.text(ref, s, dx, options, rect);
}

void WmfPlayer::blit(WmfRecord function, ByteReader& r) {
    const uint32_t rop = function == WmfRecord::SetDibToDev ? 0xCC0020 : r.u32();  // it copies
    QRectF dest, src;
    bool fromBottom = false;
    const qsizetype params = r.size();
    if (function == WmfRecord::PatBlt) {
        const double h = r.i16(), w = r.i16();
        const QPointF d = pointYX(r);
        if (r.ok()) p_.blit(QRectF(d, QSizeF(w, h)), nullptr, {}, rop);
        return;
    }
    if (function == WmfRecord::StretchDib) {
        r.u16();
        const double sh = r.i16(), sw = r.i16();
        const QPointF s = pointYX(r);
        const double dh = r.i16(), dw = r.i16();
        const QPointF d = pointYX(r);
        dest = QRectF(d, QSizeF(dw, dh));
        src = QRectF(s, QSizeF(sw, sh));
        fromBottom = true;
    } else if (function == WmfRecord::SetDibToDev) {  // one bitmap pixel per logical unit
        r.skip(2 + 2 + 2);                            // colour usage, scan count, first scan
        const QPointF s = pointYX(r);
        const double h = r.i16(), w = r.i16();
        const QPointF d = pointYX(r);
        dest = QRectF(d, QSizeF(w, h));
        src = QRectF(s, QSizeF(w, h));
        fromBottom = true;
    } else if (function == WmfRecord::DibStretchBlt) {
        const double sh = r.i16(), sw = r.i16();
        const QPointF s = pointYX(r);
        if (params == 4 + 9 * 2) r.i16();  // no bitmap: a reserved word
        const double dh = r.i16(), dw = r.i16();
        const QPointF d = pointYX(r);
        dest = QRectF(d, QSizeF(dw, dh));
        src = QRectF(s, QSizeF(sw, sh));
    } else {  // DIBBITBLT
        const QPointF s = pointYX(r);
        if (params == 4 + 7 * 2) r.i16();
        const double h = r.i16(), w = r.i16();
        const QPointF d = pointYX(r);
        dest = QRectF(d, QSizeF(w, h));
        src = QRectF(s, QSizeF(w, h));
    }
    if (!r.ok()) return;
    if (r.remaining() == 0) {
        p_.blit(dest, nullptr, {}, rop);
        return;
    }
    const Dib dib = decodePackedDib(r.slice(r.pos(), r.remaining()), p_.budget());
    if (dib.image.isNull()) return;
    if (fromBottom && dib.bottomUp) src.moveTop(dib.image.height() - src.top() - src.height());
    p_.blit(dest, &dib.image, src, rop);
}

bool WmfPlayer::record(WmfRecord function, ByteReader& r) {
    DcState& dc = p_.dc();
    switch (function) {
        case WmfRecord::SaveDc:
            p_.saveDc();
            break;
        case WmfRecord::RestoreDc: {
            const int n = r.i16();
            if (r.ok()) p_.restoreDc(n);
            break;
        }
        case WmfRecord::SetBkMode: {
            const int m = r.u16();
            if (m == 1 || m == 2) dc.bkMode = m;
            break;
        }
        case WmfRecord::SetMapMode:
            p_.setMapMode(r.u16());
            break;
        case WmfRecord::SetRop2: {
            const int m = r.u16();
            if (m >= 1 && m <= 16) dc.rop2 = m;
            break;
        }
        case WmfRecord::SetPolyFillMode:
            dc.fillRule = r.u16() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case WmfRecord::SetTextAlign:
            dc.textAlign = r.u16();
            break;
        case WmfRecord::SetBkColor: {
            const uint32_t c = r.u32();
            if (r.ok()) dc.bkColor = colorRef(c);
            break;
        }
        case WmfRecord::SetTextColor: {
            const uint32_t c = r.u32();
            if (r.ok()) dc.textColor = colorRef(c);
            break;
        }
        case WmfRecord::SetWindowOrg: {
            const QPointF o = pointYX(r);
            if (r.ok()) p_.setWindowOrg(o);
            break;
        }
        case WmfRecord::SetWindowExt: {
            const QPointF e = pointYX(r);
            if (r.ok()) p_.setWindowExt(e);
            break;
        }
        case WmfRecord::SetViewportOrg: {
            const QPointF o = pointYX(r);
            if (r.ok()) p_.setViewportOrg(o);
            break;
        }
        case WmfRecord::SetViewportExt: {
            const QPointF e = pointYX(r);
            if (r.ok()) p_.setViewportExt(e);
            break;
        }
        case WmfRecord::OffsetWindowOrg: {
            const QPointF d = pointYX(r);
            if (r.ok()) p_.setWindowOrg(dc.windowOrg + d);
            break;
        }
        case WmfRecord::ScaleWindowExt:
        case WmfRecord::ScaleViewportExt: {
            const double yd = r.i16(), yn = r.i16(), xd = r.i16(), xn = r.i16();
            if (!r.ok()) break;
            if (function == WmfRecord::ScaleWindowExt)
                p_.scaleWindowExt(xn, xd, yn, yd);
            else
                p_.scaleViewportExt(xn, xd, yn, yd);
            break;
        }
        case WmfRecord::LineTo: {
            const QPointF pt = pointYX(r);
            if (r.ok()) p_.lineTo(pt);
            break;
        }
        case WmfRecord::MoveTo: {
            const QPointF pt = pointYX(r);
            if (r.ok()) p_.moveTo(pt);
            break;
        }
        case WmfRecord::ExcludeClipRect: {
            const QRectF rc = rectBRTL(r);
            if (r.ok()) p_.excludeClipRect(rc);
            break;
        }
        case WmfRecord::IntersectClipRect: {
            const QRectF rc = rectBRTL(r);
            if (r.ok()) p_.intersectClipRect(rc);
            break;
        }
        case WmfRecord::Ellipse: {
            const QRectF rc = rectBRTL(r);
            if (r.ok()) p_.ellipse(rc);
            break;
        }
        case WmfRecord::Rectangle: {
            const QRectF rc = rectBRTL(r);
            if (r.ok()) p_.rectangle(rc);
            break;
        }
        case WmfRecord::RoundRect: {
            const double h = r.i16(), w = r.i16();
            const QRectF rc = rectBRTL(r);
            if (r.ok()) p_.roundRect(rc, QSizeF(w, h));
            break;
        }
        case WmfRecord::Arc:
        case WmfRecord::Pie:
        case WmfRecord::Chord: {
            const QPointF e = pointYX(r), s = pointYX(r);
            const QRectF rc = rectBRTL(r);
            if (!r.ok()) break;
            p_.arc(function == WmfRecord::Arc   ? Player::ArcKind::Arc
                   : function == WmfRecord::Pie ? Player::ArcKind::Pie
                                                : Player::ArcKind::Chord,
                   rc, s, e);
            break;
        }
        case WmfRecord::SetPixel: {
            const QColor c = colorRef(r.u32());
            const QPointF pt = pointYX(r);
            if (r.ok()) p_.fillRect(QRectF(pt, QSizeF(1, 1)), c);
            break;
        }
        case WmfRecord::Polygon:
        case WmfRecord::Polyline: {
            const QPolygonF pts = readPoints(r, r.u16(), p_.budget());
            if (!r.ok() || pts.isEmpty()) break;
            if (function == WmfRecord::Polygon)
                p_.polygon(pts);
            else
                p_.polyline(pts);
            break;
        }
        case WmfRecord::PolyPolygon: {
            const uint16_t polys = r.u16();
            if (!r.ok() || polys > r.remaining() / 2) break;
            std::vector<uint16_t> counts(polys);
            uint32_t total = 0;
            for (uint16_t& c : counts) total += (c = r.u16());
            const QPolygonF all = readPoints(r, total, p_.budget());
            if (!r.ok() || all.size() != qsizetype(total)) break;
            QList<QPolygonF> list;
            qsizetype at = 0;
            for (uint16_t c : counts) {
                list.append(all.mid(at, c));
                at += c;
            }
            p_.polyPolygon(list);
            break;
        }
        case WmfRecord::TextOut:
            text(r, false);
            break;
        case WmfRecord::ExtTextOut:
            text(r, true);
            break;
        case WmfRecord::CreatePenIndirect: {
            GdiObject o;
            o.kind = GdiObject::Pen;
            o.pen.style = r.u16();
            o.pen.width = r.i16();
            r.i16();
            o.pen.color = colorRef(r.u32());
            if (!r.ok()) o = otherObject();
            p_.createInFreeSlot(o);
            break;
        }
        case WmfRecord::CreateBrushIndirect: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = r.u16();
            o.brush.color = colorRef(r.u32());
            o.brush.hatch = r.u16();
            if (!r.ok()) o = otherObject();
            p_.createInFreeSlot(o);
            break;
        }
        case WmfRecord::CreateFontIndirect: {
            GdiObject o = font(r);
            if (!r.ok() && o.font.face.isEmpty()) o = otherObject();
            p_.createInFreeSlot(o);
            break;
        }
        case WmfRecord::DibCreatePatternBrush: {
            const uint16_t style = r.u16();
            r.u16();
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = 5;
            if (style != 3 && r.ok())  // BS_PATTERN would carry a device bitmap: not drawn
                o.brush.pattern =
                    decodePackedDib(r.slice(r.pos(), r.remaining()), p_.budget()).image;
            if (o.brush.pattern.isNull()) o.brush = BrushSpec{};
            p_.createInFreeSlot(o);
            break;
        }
        // Objects that are not drawn still take their slot, so later indices stay right.
        case WmfRecord::CreatePalette:
        case WmfRecord::CreatePatternBrush:
            p_.createInFreeSlot(otherObject());
            break;
        case WmfRecord::CreateRegion:
        case WmfRecord::InvertRegion:
        case WmfRecord::PaintRegion:
        case WmfRecord::SelectClipRegion:
        case WmfRecord::OffsetClipRgn:
        case WmfRecord::FillRegion:
        case WmfRecord::FrameRegion:
            wmfRegionRecord(function, r, p_);
            break;
        case WmfRecord::SelectObject: {
            const uint16_t i = r.u16();
            if (r.ok()) p_.selectObject(i);
            break;
        }
        case WmfRecord::DeleteObject: {
            const uint16_t i = r.u16();
            if (r.ok()) p_.deleteObject(i);
            break;
        }
        case WmfRecord::PatBlt:
        case WmfRecord::DibBitBlt:
        case WmfRecord::DibStretchBlt:
        case WmfRecord::SetDibToDev:
        case WmfRecord::StretchDib:
            blit(function, r);
            break;
        default:
            break;  // escapes are never executed; palettes and the rest draw nothing
    }
    return true;
}

}  // namespace

bool readWmfHeader(QByteArrayView bytes, WmfHeader& h) {
    ByteReader r(bytes);
    if (r.u32() == kPlaceableKey) {
        h.placeable = true;
        r.u16();
        const double l = r.i16(), t = r.i16(), rt = r.i16(), b = r.i16();
        h.unitsPerInch = r.u16();
        r.skip(6);
        h.frame = QRectF(QPointF(l, t), QPointF(rt, b)).normalized();
    } else {
        r.seek(0);
    }
    const qsizetype headerAt = r.pos();
    const uint16_t type = r.u16(), headerWords = r.u16(), version = r.u16();
    r.skip(4);
    h.objects = r.u16();
    r.skip(6);
    if (!r.ok() || (type != 1 && type != 2) || headerWords != 9 ||
        (version != 0x0300 && version != 0x0100))
        return false;
    h.recordsAt = headerAt + 18;
    if (h.placeable && (h.frame.isEmpty() || h.unitsPerInch == 0)) return false;

    // One pass over the records: the window a plain WMF sets up before drawing, and an EMF
    // carried in comment records.
    QPointF windowOrg, windowExt;
    bool drawn = false;
    qint64 emfSize = -1;
    QByteArray emf;
    Budget budget;
    walk(bytes, h.recordsAt, &budget, [&](WmfRecord function, ByteReader& p) {
        if (function == WmfRecord::SetWindowOrg && !drawn)
            windowOrg = pointYX(p);
        else if (function == WmfRecord::SetWindowExt && !drawn)
            windowExt = pointYX(p);
        else if (function == WmfRecord::Escape) {
            const uint16_t escape = p.u16(), count = p.u16();
            if (escape != 0x000F || count < 34 || p.u32() != kCommentWmfc || p.u32() != 1)
                return true;
            p.skip(4 + 2 + 4 + 4);
            const uint32_t chunk = p.u32();
            p.u32();
            const uint32_t total = p.u32();
            if (!p.ok() || total > kMaxEmbeddedEmf || total > uint32_t(bytes.size()) ||
                (emfSize >= 0 && emfSize != total) || chunk > p.remaining() ||
                emf.size() + qint64(chunk) > qint64(total)) {
                emfSize = -2;  // inconsistent: the comments are ignored
                return false;
            }
            emfSize = total;
            emf.append(p.slice(p.pos(), chunk).toByteArray());
        } else if (drawsSomething(function)) {
            drawn = true;
        }
        return true;
    });
    if (emfSize > 0 && emf.size() == emfSize) {
        EmfHeader eh;
        if (readEmfHeader(emf, eh)) h.embeddedEmf = emf;
    }
    if (!h.placeable && windowExt.x() != 0 && windowExt.y() != 0)
        h.frame = QRectF(windowOrg, QSizeF(std::abs(windowExt.x()), std::abs(windowExt.y())));
    return true;
}

void playWmf(QByteArrayView bytes, const WmfHeader& header, Player& player) {
    player.setWmfFrame(header.frame);
    player.resizeTable(header.objects);
    WmfPlayer wmf(player);
    walk(bytes, header.recordsAt, &player.budget(),
         [&](WmfRecord function, ByteReader& p) { return wmf.record(function, p); });
}

GdiObject fontObject(double height, double width, int escapement, int weight, quint8 italic,
                     quint8 underline, quint8 strikeOut, quint8 charset, const QString& face) {
    GdiObject o;
    o.kind = GdiObject::Font;
    o.font.height = height;
    o.font.width = width;
    o.font.escapement = escapement;
    o.font.weight = weight;
    o.font.italic = italic;
    o.font.underline = underline;
    o.font.strikeOut = strikeOut;
    o.font.charset = charset;
    o.font.face = face;
    return o;
}

}  // namespace metafile
