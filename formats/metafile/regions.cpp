// Regions: WMF region objects and the records of both formats that clip or paint with regions.
#include "byte_reader.h"
#include "records.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace metafile {
namespace {

constexpr int kCoordinateLimit = 1 << 28;  // keeps widths and offsets inside int
constexpr int kMaxUnorderedRects = 1024;

// Collects rectangles (right and bottom exclusive) into a QRegion. GDI keeps a region's
// rectangles in bands, top to bottom and left to right, and those append in linear time; the
// few a writer puts in its own order are united one by one, and past a limit dropped, so a
// hostile list cannot cost quadratic time.
class RegionBuilder {
  public:
    void add(int64_t l, int64_t t, int64_t r, int64_t b) {
        const auto clamp = [](int64_t v) {
            return int(std::clamp<int64_t>(v, -kCoordinateLimit, kCoordinateLimit));
        };
        const int left = clamp(l), top = clamp(t), right = clamp(r), bottom = clamp(b);
        if (left >= right || top >= bottom) return;
        const QRect rect(QPoint(left, top), QPoint(right - 1, bottom - 1));
        if (!banded_.empty()) {
            QRect& last = banded_.back();
            const bool sameBand = top == last.top() && bottom == last.bottom() + 1;
            if (sameBand && left == last.right() + 1) {  // abutting: one wider rectangle
                last.setRight(right - 1);
                return;
            }
            if (!(sameBand && left > last.right() + 1) && top <= last.bottom()) {
                if (unordered_ < kMaxUnorderedRects) {
                    extra_ += rect;
                    ++unordered_;
                }
                return;
            }
        }
        banded_.push_back(rect);
    }
    QRegion region() const {
        QRegion q;
        if (!banded_.empty()) q.setRects(banded_.data(), int(banded_.size()));
        return extra_.isEmpty() ? q : q.united(extra_);
    }

  private:
    std::vector<QRect> banded_;
    QRegion extra_;
    int unordered_ = 0;
};

// A WMF Region object: a header, then scans of one band each holding left/right pairs.
bool readWmfRegion(ByteReader& r, Budget& budget, QRegion& out) {
    r.skip(2 + 2 + 4 + 2);  // next in chain, object type, object count, region size
    const uint16_t scans = r.u16();
    r.skip(2 + 8);  // largest scan, bounding rectangle
    if (!r.ok()) return false;
    RegionBuilder builder;
    for (uint32_t i = 0; i < scans; ++i) {
        const uint16_t count = r.u16();
        const int top = r.i16(), bottom = r.i16();
        // The x values, then the count repeated.
        if (!r.ok() || count % 2 || qsizetype(count) * 2 + 2 > r.remaining() ||
            !budget.charge(0, count / 2))
            return false;
        for (int j = 0; j < count / 2; ++j) {
            const int left = r.i16();
            builder.add(left, top, r.i16(), bottom);
        }
        r.u16();
    }
    out = builder.region();
    return true;
}

// An EMF RegionData of `size` bytes at the reader's position: a header and rectangles.
bool readRegionData(ByteReader& r, uint32_t size, Budget& budget, QRegion& out) {
    if (size < 32 || size > r.remaining()) return false;
    r.skip(8);  // header size, type
    const uint32_t count = r.u32();
    r.skip(4 + 16);  // data size, bounds
    if (!r.ok() || count > (size - 32) / 16 || !budget.charge(0, count)) return false;
    RegionBuilder builder;
    for (uint32_t i = 0; i < count; ++i) {
        const int64_t left = r.i32(), top = r.i32(), right = r.i32();
        builder.add(left, top, right, r.i32());
    }
    out = builder.region();
    return true;
}

}  // namespace

void wmfRegionRecord(WmfRecord function, ByteReader& r, Player& p) {
    const auto region = [&](uint16_t index, QRegion& out) {
        const GdiObject o = p.objectAt(index);
        out = o.region;
        return r.ok() && o.kind == GdiObject::Region;
    };
    QRegion rgn;
    switch (function) {
        case WmfRecord::CreateRegion: {  // a broken one still takes its slot
            GdiObject o;
            o.kind = GdiObject::Other;
            if (readWmfRegion(r, p.budget(), o.region)) o.kind = GdiObject::Region;
            p.createInFreeSlot(o);
            break;
        }
        case WmfRecord::SelectClipRegion:  // an index that names no region clears the clip
            if (region(r.u16(), rgn))
                p.clipRegion(rgn, true, 5);
            else if (r.ok())
                p.resetClip();
            break;
        case WmfRecord::OffsetClipRgn: {
            const double dy = r.i16(), dx = r.i16();
            if (r.ok()) p.offsetClip({dx, dy});
            break;
        }
        case WmfRecord::InvertRegion:
        case WmfRecord::PaintRegion:
            if (region(r.u16(), rgn))
                p.paintRegion(rgn, true,
                              function == WmfRecord::InvertRegion ? Player::RegionPaint::Invert
                                                                  : Player::RegionPaint::Fill,
                              p.dc().brush);
            break;
        case WmfRecord::FillRegion:
        case WmfRecord::FrameRegion: {
            const uint16_t index = r.u16();
            const GdiObject brush = p.objectAt(r.u16());
            QSizeF frame;
            if (function == WmfRecord::FrameRegion) {
                const double h = r.i16();
                frame = QSizeF(r.i16(), h);
            }
            if (!region(index, rgn) || brush.kind != GdiObject::Brush) break;
            p.paintRegion(rgn, true,
                          function == WmfRecord::FillRegion ? Player::RegionPaint::Fill
                                                            : Player::RegionPaint::Frame,
                          brush.brush, frame);
            break;
        }
        default:
            break;
    }
}

void emfRegionRecord(EmfRecord type, ByteReader& r, Player& p) {
    QRegion rgn;
    if (type == EmfRecord::ExtSelectClipRgn) {
        const uint32_t size = r.u32(), mode = r.u32();
        if (!r.ok()) return;
        if (size < 32) {
            if (mode == 5) p.resetClip();  // RGN_COPY of no region: clipping ends
            return;
        }
        if (readRegionData(r, size, p.budget(), rgn)) p.clipRegion(rgn, false, int(mode));
        return;
    }
    r.skip(16);  // bounds
    const uint32_t size = r.u32();
    GdiObject brush;
    QSizeF frame;
    if (type == EmfRecord::FillRgn || type == EmfRecord::FrameRgn) brush = p.objectAt(r.u32());
    if (type == EmfRecord::FrameRgn) {
        const double w = r.i32();
        frame = QSizeF(w, r.i32());
    }
    if (!r.ok() || !readRegionData(r, size, p.budget(), rgn)) return;
    switch (type) {
        case EmfRecord::FillRgn:
        case EmfRecord::FrameRgn:
            if (brush.kind == GdiObject::Brush)
                p.paintRegion(rgn, false,
                              type == EmfRecord::FillRgn ? Player::RegionPaint::Fill
                                                         : Player::RegionPaint::Frame,
                              brush.brush, frame);
            break;
        case EmfRecord::InvertRgn:
            p.paintRegion(rgn, false, Player::RegionPaint::Invert, {});
            break;
        case EmfRecord::PaintRgn:
            p.paintRegion(rgn, false, Player::RegionPaint::Fill, p.dc().brush);
            break;
        default:
            break;
    }
}

void Player::clipRegion(const QRegion& region, bool logical, int mode) {
    QPainterPath path;
    path.addRegion(region);
    if (logical)
        combineClip(path, full(), mode);
    else
        setDeviceClip(path, mode);
}

void Player::offsetClip(QPointF logical) {
    if (!dc_.clipped) return;  // no clip of the file's own: nothing moves
    painter_.setTransform(full());
    const QPainterPath moved = painter_.clipPath().translated(logical);
    painter_.setClipPath(moved, Qt::ReplaceClip);
    painter_.setTransform(base_);
    painter_.setClipRect(target_, Qt::IntersectClip);
}

void Player::paintRegion(const QRegion& region, bool logical, RegionPaint how,
                         const BrushSpec& brush, QSizeF frame) {
    QRegion area = region;
    if (how == RegionPaint::Frame) {
        // The frame lies inside the region: what the region loses when shrunk by the frame's
        // width at the sides and its height at top and bottom.
        double sx = 1, sy = 1;
        if (!logical) {
            const QTransform m = dc_.world * page();
            sx = std::hypot(m.m11(), m.m12());
            sy = std::hypot(m.m21(), m.m22());
        }
        const auto units = [](double v, double scale) {
            return int(std::clamp(std::lround(std::abs(v) * scale), 1L, long(kCoordinateLimit)));
        };
        const int w = units(frame.width(), sx), h = units(frame.height(), sy);
        const QRegion inner = region.translated(-w, 0) & region.translated(w, 0) &
                              region.translated(0, -h) & region.translated(0, h);
        area = region.subtracted(inner);
    }
    QPainterPath path;
    path.addRegion(area);
    painter_.setTransform(logical ? full() : deviceToTarget_ * base_);
    if (how == RegionPaint::Invert) {
        painter_.setRenderHint(QPainter::Antialiasing, false);  // exact bits, as raster ops
        painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter_.fillPath(path, Qt::white);
        return;
    }
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.fillPath(path, qbrush(brush));
}

}  // namespace metafile
