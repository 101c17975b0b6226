#include "emf_player.h"

#include <cmath>

namespace metafile {
namespace {

constexpr quint32 kEmfSignature = 0x464D4520;  // " EMF"

QTransform readXform(ByteReader& r) {
    const double m11 = r.f32(), m12 = r.f32(), m21 = r.f32(), m22 = r.f32(), dx = r.f32();
    const double dy = r.f32();
    const QTransform t(m11, m12, m21, m22, dx, dy);
    for (double v : {m11, m12, m21, m22, dx, dy})
        if (!std::isfinite(v) || std::abs(v) > 1e9) return QTransform();
    return t;
}

// Points of a record, checked against the bytes the record holds before anything is allocated.
QPolygonF readPoints(ByteReader& r, uint32_t count, bool small, Budget& budget) {
    const qsizetype each = small ? 4 : 8;
    if (qsizetype(count) > r.remaining() / each || !budget.charge(0, count)) return {};
    QPolygonF points;
    points.reserve(count);
    for (uint32_t i = 0; i < count; ++i) points.append(small ? r.point16() : r.point32());
    return points;
}

}  // namespace

void EmfPlayer::play() {
    qsizetype pos = 0;
    while (bytes_.size() - pos >= 8) {
        ByteReader head(bytes_.sliced(pos, 8));
        const EmfRecord type = EmfRecord(head.u32());
        const uint32_t size = head.u32();
        // A record that breaks its own size ends playback: nothing after it can be trusted.
        if (size < 8 || size > bytes_.size() - pos || !p_.budget().charge(1)) return;
        ByteReader r(bytes_.sliced(pos, size));
        r.seek(8);
        if (type == EmfRecord::Eof) return;
        record(type, r);
        pos += size;
    }
}

void EmfPlayer::record(EmfRecord type, ByteReader& r) {
    DcState& dc = p_.dc();
    switch (type) {
        case EmfRecord::PolyBezier:
        case EmfRecord::Polygon:
        case EmfRecord::Polyline:
        case EmfRecord::PolyBezierTo:
        case EmfRecord::PolylineTo:
            poly(type, r, false);
            break;
        case EmfRecord::PolyBezier16:
        case EmfRecord::Polygon16:
        case EmfRecord::Polyline16:
        case EmfRecord::PolyBezierTo16:
        case EmfRecord::PolylineTo16:
            poly(type, r, true);
            break;
        case EmfRecord::PolyPolyline:
        case EmfRecord::PolyPolygon:
            polyPoly(type, r, false);
            break;
        case EmfRecord::PolyPolyline16:
        case EmfRecord::PolyPolygon16:
            polyPoly(type, r, true);
            break;
        case EmfRecord::PolyDraw:
            polyDraw(r, false);
            break;
        case EmfRecord::PolyDraw16:
            polyDraw(r, true);
            break;
        case EmfRecord::SetWindowExtEx: {
            const QPointF e = r.point32();
            if (r.ok()) p_.setWindowExt(e);
            break;
        }
        case EmfRecord::SetWindowOrgEx: {
            const QPointF o = r.point32();
            if (r.ok()) p_.setWindowOrg(o);
            break;
        }
        case EmfRecord::SetViewportExtEx: {
            const QPointF e = r.point32();
            if (r.ok()) p_.setViewportExt(e);
            break;
        }
        case EmfRecord::SetViewportOrgEx: {
            const QPointF o = r.point32();
            if (r.ok()) p_.setViewportOrg(o);
            break;
        }
        case EmfRecord::SetPixelV: {
            const QPointF pt = r.point32();
            const QColor c = colorRef(r.u32());
            if (r.ok()) p_.fillRect(QRectF(pt, QSizeF(1, 1)), c);
            break;
        }
        case EmfRecord::SetMapMode:
            p_.setMapMode(int(r.u32()));
            break;
        case EmfRecord::SetBkMode: {
            const uint32_t m = r.u32();
            if (m == 1 || m == 2) dc.bkMode = int(m);
            break;
        }
        case EmfRecord::SetPolyFillMode:
            dc.fillRule = r.u32() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case EmfRecord::SetRop2: {
            const uint32_t m = r.u32();
            if (m >= 1 && m <= 16) dc.rop2 = int(m);
            break;
        }
        case EmfRecord::SetTextAlign:
            dc.textAlign = r.u32();
            break;
        case EmfRecord::SetTextColor: {
            const uint32_t c = r.u32();
            if (r.ok()) dc.textColor = colorRef(c);
            break;
        }
        case EmfRecord::SetBkColor: {
            const uint32_t c = r.u32();
            if (r.ok()) dc.bkColor = colorRef(c);
            break;
        }
        case EmfRecord::MoveToEx: {
            const QPointF pt = r.point32();
            if (r.ok()) p_.moveTo(pt);
            break;
        }
        case EmfRecord::OffsetClipRgn: {
            const QPointF o = r.point32();
            if (r.ok()) p_.offsetClip(o);
            break;
        }
        case EmfRecord::ExcludeClipRect:
        case EmfRecord::IntersectClipRect: {
            const QRectF rc = r.rect32();
            if (!r.ok()) break;
            if (type == EmfRecord::ExcludeClipRect)
                p_.excludeClipRect(rc);
            else
                p_.intersectClipRect(rc);
            break;
        }
        case EmfRecord::ScaleViewportExtEx:
        case EmfRecord::ScaleWindowExtEx: {
            const double xn = r.i32(), xd = r.i32(), yn = r.i32(), yd = r.i32();
            if (!r.ok()) break;
            if (type == EmfRecord::ScaleViewportExtEx)
                p_.scaleViewportExt(xn, xd, yn, yd);
            else
                p_.scaleWindowExt(xn, xd, yn, yd);
            break;
        }
        case EmfRecord::SaveDc:
            p_.saveDc();
            break;
        case EmfRecord::RestoreDc: {
            const int n = r.i32();
            if (r.ok()) p_.restoreDc(n);
            break;
        }
        case EmfRecord::SetWorldTransform: {
            const QTransform t = readXform(r);
            if (r.ok()) p_.setWorld(t);
            break;
        }
        case EmfRecord::ModifyWorldTransform: {
            const QTransform t = readXform(r);
            const uint32_t mode = r.u32();
            if (r.ok()) p_.modifyWorld(t, int(mode));
            break;
        }
        case EmfRecord::SelectObject: {
            const uint32_t i = r.u32();
            if (r.ok()) p_.selectObject(i);
            break;
        }
        case EmfRecord::CreatePen: {
            const uint32_t index = r.u32();
            GdiObject o;
            o.kind = GdiObject::Pen;
            o.pen.style = r.u32();
            o.pen.width = r.i32();
            r.i32();
            o.pen.color = colorRef(r.u32());
            if (r.ok()) p_.setObject(index, o);
            break;
        }
        case EmfRecord::CreateBrushIndirect: {
            const uint32_t index = r.u32();
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = r.u32();
            o.brush.color = colorRef(r.u32());
            o.brush.hatch = r.u32();
            if (r.ok()) p_.setObject(index, o);
            break;
        }
        case EmfRecord::DeleteObject: {
            const uint32_t i = r.u32();
            if (r.ok()) p_.deleteObject(i);
            break;
        }
        case EmfRecord::AngleArc: {
            const QPointF c = r.point32();
            const double radius = r.u32(), start = r.f32(), sweep = r.f32();
            if (!r.ok() || !std::isfinite(start) || !std::isfinite(sweep)) break;
            const QRectF box(c - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
            const double a0 = start * M_PI / 180, a1 = (start + sweep) * M_PI / 180;
            const QPointF s = c + QPointF(radius * std::cos(a0), -radius * std::sin(a0));
            const QPointF e = c + QPointF(radius * std::cos(a1), -radius * std::sin(a1));
            const bool cw = dc.clockwise;
            dc.clockwise = sweep < 0;
            p_.arc(Player::ArcKind::ArcTo, box, s, e);
            dc.clockwise = cw;
            break;
        }
        case EmfRecord::Ellipse: {
            const QRectF rc = r.rect32();
            if (r.ok()) p_.ellipse(rc);
            break;
        }
        case EmfRecord::Rectangle: {
            const QRectF rc = r.rect32();
            if (r.ok()) p_.rectangle(rc);
            break;
        }
        case EmfRecord::RoundRect: {
            const QRectF rc = r.rect32();
            const QPointF corner = r.point32();
            if (r.ok()) p_.roundRect(rc, QSizeF(corner.x(), corner.y()));
            break;
        }
        case EmfRecord::Arc:
        case EmfRecord::Chord:
        case EmfRecord::Pie:
        case EmfRecord::ArcTo: {
            const QRectF rc = r.rect32();
            const QPointF s = r.point32(), e = r.point32();
            if (!r.ok()) break;
            const Player::ArcKind kind = type == EmfRecord::Arc     ? Player::ArcKind::Arc
                                         : type == EmfRecord::Chord ? Player::ArcKind::Chord
                                         : type == EmfRecord::Pie   ? Player::ArcKind::Pie
                                                                    : Player::ArcKind::ArcTo;
            p_.arc(kind, rc, s, e);
            break;
        }
        case EmfRecord::LineTo: {
            const QPointF pt = r.point32();
            if (r.ok()) p_.lineTo(pt);
            break;
        }
        case EmfRecord::SetArcDirection:
            dc.clockwise = r.u32() == 2;
            break;
        case EmfRecord::SetMiterLimit: {
            const uint32_t m = r.u32();
            if (r.ok() && m >= 1 && m <= 1000) dc.miterLimit = m;
            break;
        }
        case EmfRecord::BeginPath:
            p_.beginPath();
            break;
        case EmfRecord::EndPath:
            p_.endPath();
            break;
        case EmfRecord::CloseFigure:
            p_.closeFigure();
            break;
        case EmfRecord::FillPath:
            p_.fillPath();
            break;
        case EmfRecord::StrokeAndFillPath:
            p_.strokeAndFillPath();
            break;
        case EmfRecord::StrokePath:
            p_.strokePath();
            break;
        case EmfRecord::SelectClipPath: {
            const uint32_t m = r.u32();
            if (r.ok()) p_.selectClipPath(int(m));
            break;
        }
        case EmfRecord::AbortPath:
            p_.abortPath();
            break;
        case EmfRecord::FillRgn:
        case EmfRecord::FrameRgn:
        case EmfRecord::InvertRgn:
        case EmfRecord::PaintRgn:
        case EmfRecord::ExtSelectClipRgn:
            emfRegionRecord(type, r, p_);
            break;
        case EmfRecord::BitBlt:
        case EmfRecord::StretchBlt:
        case EmfRecord::SetDiBitsToDevice:
        case EmfRecord::StretchDiBits:
        case EmfRecord::AlphaBlend:
        case EmfRecord::TransparentBlt:
            bitmapRecord(type, r);
            break;
        case EmfRecord::ExtCreateFontIndirectW: {
            const uint32_t index = r.u32();
            const double height = r.i32(), width = r.i32();
            const int esc = r.i32();
            r.i32();
            const int weight = r.i32();
            const quint8 italic = r.u8(), underline = r.u8(), strike = r.u8(), charset = r.u8();
            r.skip(4);
            QString face;
            for (int i = 0; i < 32 && r.has(2); ++i) {
                const char16_t c = r.u16();
                if (!c) break;
                face.append(QChar(c));
            }
            if (r.ok())
                p_.setObject(index, fontObject(height, width, esc, weight, italic, underline,
                                               strike, charset, face));
            break;
        }
        case EmfRecord::ExtTextOutA:
            text(r, false);
            break;
        case EmfRecord::ExtTextOutW:
            text(r, true);
            break;
        case EmfRecord::PolyTextOutA:
        case EmfRecord::PolyTextOutW:
            polyText(r, type == EmfRecord::PolyTextOutW);
            break;
        case EmfRecord::CreateMonoBrush:
        case EmfRecord::CreateDibPatternBrushPt: {
            const uint32_t index = r.u32();
            r.u32();
            const uint32_t offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
            if (!r.ok()) break;
            GdiObject o;
            o.kind = GdiObject::Brush;
            o.brush.style = 5;
            o.brush.pattern = dibAt(r, offBmi, cbBmi, offBits, cbBits).image;
            if (o.brush.pattern.isNull()) o.brush.style = 0;
            p_.setObject(index, o);
            break;
        }
        case EmfRecord::ExtCreatePen: {
            const uint32_t index = r.u32();
            GdiObject o = extPen(r);
            if (r.ok()) p_.setObject(index, o);
            break;
        }
        case EmfRecord::GradientFill:
            gradient(r);
            break;
        case EmfRecord::Header: {
            // A second header (an embedded picture, a reused file) would redefine the
            // mapping; its records play in the one already set up.
            break;
        }
        default:
            break;  // comments (EMF+ among them), palettes, escapes: nothing to draw
    }
}

void EmfPlayer::poly(EmfRecord type, ByteReader& r, bool small) {
    r.skip(16);  // bounds
    const uint32_t count = r.u32();
    const QPolygonF pts = readPoints(r, count, small, p_.budget());
    if (!r.ok() || pts.size() != qsizetype(count) || count == 0) return;
    switch (type) {
        case EmfRecord::PolyBezier:
        case EmfRecord::PolyBezier16:
            p_.polyBezier(pts, false);
            break;
        case EmfRecord::Polygon:
        case EmfRecord::Polygon16:
            p_.polygon(pts);
            break;
        case EmfRecord::Polyline:
        case EmfRecord::Polyline16:
            p_.polyline(pts);
            break;
        case EmfRecord::PolyBezierTo:
        case EmfRecord::PolyBezierTo16:
            p_.polyBezier(pts, true);
            break;
        case EmfRecord::PolylineTo:
        case EmfRecord::PolylineTo16:
            p_.polylineTo(pts);
            break;
        default:
            break;
    }
}

void EmfPlayer::polyPoly(EmfRecord type, ByteReader& r, bool small) {
    r.skip(16);
    const uint32_t polys = r.u32(), total = r.u32();
    if (!r.ok() || qsizetype(polys) > r.remaining() / 4) return;
    std::vector<uint32_t> counts(polys);
    uint64_t sum = 0;
    for (uint32_t& c : counts) sum += (c = r.u32());
    if (sum != total) return;
    const QPolygonF all = readPoints(r, total, small, p_.budget());
    if (!r.ok() || all.size() != qsizetype(total)) return;
    QList<QPolygonF> list;
    qsizetype at = 0;
    for (uint32_t c : counts) {
        list.append(all.mid(at, c));
        at += c;
    }
    if (type == EmfRecord::PolyPolygon || type == EmfRecord::PolyPolygon16) {
        p_.polyPolygon(list);
    } else {
        for (const QPolygonF& poly : list) p_.polyline(poly);
    }
}

void EmfPlayer::polyDraw(ByteReader& r, bool small) {
    r.skip(16);
    const uint32_t count = r.u32();
    const QPolygonF pts = readPoints(r, count, small, p_.budget());
    if (!r.ok() || pts.size() != qsizetype(count) || !r.has(count)) return;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t kind = r.u8();
        switch (kind & ~1) {
            case 6:
                p_.moveTo(pts[i]);
                break;
            case 2:
                p_.lineTo(pts[i]);
                break;
            case 4:
                if (i + 2 < count) {
                    p_.polyBezier(pts.mid(i, 3), true);
                    i += 2;
                    r.skip(2);
                }
                break;
            default:
                break;
        }
        if (kind & 1) p_.closeFigure();
    }
}

bool readEmfHeader(QByteArrayView bytes, EmfHeader& h) {
    ByteReader r(bytes);
    const EmfRecord type = EmfRecord(r.u32());
    const uint32_t size = r.u32();
    const QRectF bounds = r.rect32(), frame = r.rect32();
    const uint32_t signature = r.u32();
    r.skip(12);
    h.handles = r.u16();
    r.skip(2 + 12);
    const double devW = r.i32(), devH = r.i32(), mmW = r.i32(), mmH = r.i32();
    if (!r.ok() || type != EmfRecord::Header || signature != kEmfSignature || size < 88 ||
        size > bytes.size())
        return false;
    h.devicePerMm = QSizeF(96 / 25.4, 96 / 25.4);
    if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0) h.devicePerMm = QSizeF(devW / mmW, devH / mmH);
    h.frameHmm = frame;
    if (frame.width() <= 0 || frame.height() <= 0) {  // no frame: the bounds, in pixels
        if (bounds.width() <= 0 || bounds.height() <= 0) return false;
        h.frameHmm = QRectF(bounds.left() * 100 / h.devicePerMm.width(),
                            bounds.top() * 100 / h.devicePerMm.height(),
                            bounds.width() * 100 / h.devicePerMm.width(),
                            bounds.height() * 100 / h.devicePerMm.height());
    }
    h.frameDevice = QRectF(h.frameHmm.left() * h.devicePerMm.width() / 100,
                           h.frameHmm.top() * h.devicePerMm.height() / 100,
                           h.frameHmm.width() * h.devicePerMm.width() / 100,
                           h.frameHmm.height() * h.devicePerMm.height() / 100);
    return h.frameDevice.width() > 0 && h.frameDevice.height() > 0;
}

void playEmf(QByteArrayView bytes, const EmfHeader& header, Player& player) {
    player.setEmfFrame(header.frameDevice, header.devicePerMm);
    player.resizeTable(int(header.handles) + 1);
    EmfPlayer(bytes, player).play();
}

}  // namespace metafile
