#include "player.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace metafile {

bool Budget::charge(qint64 records, qint64 points, qint64 pixels) {
    if (spent_) return false;
    records_ += records;
    points_ += points;
    pixels_ += pixels;
    // The clock is read every 256 records only; a single record is bounded by the other caps.
    if (records_ > kMaxRecords || points_ > kMaxPoints || pixels_ > kMaxTotalPixels ||
        ((records_ & 0xFF) == 0 && clock_.elapsed() > kMaxPlayMs))
        spent_ = true;
    return !spent_;
}

namespace {

GdiObject stockObject(uint32_t id) {
    GdiObject o;
    auto brush = [&](QColor c, uint32_t style = 0) {
        o.kind = GdiObject::Brush;
        o.brush.style = style;
        o.brush.color = c;
    };
    auto pen = [&](QColor c, uint32_t style = 0) {
        o.kind = GdiObject::Pen;
        o.pen.style = style;
        o.pen.color = c;
    };
    switch (id) {
        case 0:
            brush(Qt::white);
            break;
        case 1:
            brush(QColor(192, 192, 192));
            break;
        case 2:
            brush(QColor(128, 128, 128));
            break;
        case 3:
            brush(QColor(64, 64, 64));
            break;
        case 4:
            brush(Qt::black);
            break;
        case 5:
            brush(Qt::white, 1);
            break;  // NULL_BRUSH
        case 6:
            pen(Qt::white);
            break;
        case 7:
            pen(Qt::black);
            break;
        case 8:
            pen(Qt::black, 5);
            break;  // NULL_PEN
        case 18:
            brush(Qt::white);
            break;  // DC_BRUSH
        case 19:
            pen(Qt::black);
            break;  // DC_PEN
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
        case 16:
        case 17:
            o.kind = GdiObject::Font;
            o.font.height = 12;
            o.font.face = QStringLiteral("Arial");
            break;
        default:
            break;
    }
    return o;
}

QPainter::CompositionMode rop2Mode(int rop2) {
    switch (rop2) {
        case 2:
            return QPainter::RasterOp_NotSourceAndNotDestination;  // NOTMERGEPEN
        case 3:
            return QPainter::RasterOp_NotSourceAndDestination;  // MASKNOTPEN
        case 4:
            return QPainter::RasterOp_NotSource;  // NOTCOPYPEN
        case 5:
            return QPainter::RasterOp_SourceAndNotDestination;  // MASKPENNOT
        case 6:
            return QPainter::RasterOp_NotDestination;  // NOT
        case 7:
            return QPainter::RasterOp_SourceXorDestination;  // XORPEN
        case 8:
            return QPainter::RasterOp_NotSourceOrNotDestination;  // NOTMASKPEN
        case 9:
            return QPainter::RasterOp_SourceAndDestination;  // MASKPEN
        case 10:
            return QPainter::RasterOp_NotSourceXorDestination;  // NOTXORPEN
        case 12:
            return QPainter::RasterOp_NotSourceOrDestination;  // MERGENOTPEN
        case 14:
            return QPainter::RasterOp_SourceOrNotDestination;  // MERGEPENNOT
        case 15:
            return QPainter::RasterOp_SourceOrDestination;  // MERGEPEN
        default:
            return QPainter::CompositionMode_SourceOver;
    }
}

}  // namespace

Player::Player(QPainter& painter, const QRectF& target, Budget& budget, QList<TextRun>* texts)
    : painter_(painter),
      target_(target),
      base_(painter.transform()),
      budget_(budget),
      texts_(texts) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setClipRect(target_, Qt::IntersectClip);
}

Player::~Player() {
    for (size_t i = 0; i < saved_.size(); ++i) painter_.restore();
    painter_.restore();
}

void Player::setWmfFrame(const QRectF& frame) {
    emf_ = false;
    frame_ = frame;
    dc_.windowOrg = frame.topLeft();
    dc_.windowExt = QPointF(frame.width(), frame.height());
    deviceToTarget_ =
        QTransform::fromTranslate(-frame.left(), -frame.top()) *
        QTransform::fromScale(target_.width() / frame.width(), target_.height() / frame.height()) *
        QTransform::fromTranslate(target_.left(), target_.top());
}

void Player::setEmfFrame(const QRectF& frameDevice, QSizeF devicePerMm) {
    emf_ = true;
    frame_ = frameDevice;
    devicePerMm_ = devicePerMm;
    deviceToTarget_ = QTransform::fromTranslate(-frameDevice.left(), -frameDevice.top()) *
                      QTransform::fromScale(target_.width() / frameDevice.width(),
                                            target_.height() / frameDevice.height()) *
                      QTransform::fromTranslate(target_.left(), target_.top());
}

void Player::setMapMode(int mode) {
    if (mode < 1 || mode > 8) return;
    dc_.mapMode = mode;
}

void Player::setWindowExt(QPointF e) {
    if (e.x() == 0 || e.y() == 0) return;  // a singular mapping is refused, as GDI does
    dc_.windowExt = e;
}

void Player::setViewportExt(QPointF e) {
    if (e.x() == 0 || e.y() == 0) return;
    dc_.viewportExt = e;
}

void Player::scaleWindowExt(double xn, double xd, double yn, double yd) {
    if (xd == 0 || yd == 0) return;
    setWindowExt({dc_.windowExt.x() * xn / xd, dc_.windowExt.y() * yn / yd});
}

void Player::scaleViewportExt(double xn, double xd, double yn, double yd) {
    if (xd == 0 || yd == 0) return;
    setViewportExt({dc_.viewportExt.x() * xn / xd, dc_.viewportExt.y() * yn / yd});
}

void Player::modifyWorld(const QTransform& t, int mode) {
    switch (mode) {
        case 1:
            dc_.world = QTransform();
            break;
        case 2:
            dc_.world = t * dc_.world;
            break;
        case 3:
            dc_.world = dc_.world * t;
            break;
        case 4:
            dc_.world = t;
            break;
        default:
            break;
    }
}

QTransform Player::page() const {
    const QPointF wo = dc_.windowOrg, we = dc_.windowExt;
    double sx = 1, sy = 1;
    QPointF vo = dc_.viewportOrg;
    if (!emf_) {
        sx = frame_.width() / we.x();
        sy = frame_.height() / we.y();
        vo = frame_.topLeft();
    } else {
        const double mmx = devicePerMm_.width(), mmy = devicePerMm_.height();
        switch (dc_.mapMode) {
            case 2:
                sx = mmx * 0.1, sy = -mmy * 0.1;
                break;  // LOMETRIC
            case 3:
                sx = mmx * 0.01, sy = -mmy * 0.01;
                break;  // HIMETRIC
            case 4:
                sx = mmx * 0.254, sy = -mmy * 0.254;
                break;  // LOENGLISH
            case 5:
                sx = mmx * 0.0254, sy = -mmy * 0.0254;
                break;  // HIENGLISH
            case 6:
                sx = mmx * 25.4 / 1440, sy = -mmy * 25.4 / 1440;
                break;  // TWIPS
            case 7:     // ISOTROPIC
            case 8:     // ANISOTROPIC
                sx = dc_.viewportExt.x() / we.x();
                sy = dc_.viewportExt.y() / we.y();
                if (dc_.mapMode == 7) {
                    const double m = std::min(std::abs(sx), std::abs(sy));
                    sx = std::copysign(m, sx);
                    sy = std::copysign(m, sy);
                }
                break;
            default:
                break;
        }
    }
    return QTransform(sx, 0, 0, sy, vo.x() - wo.x() * sx, vo.y() - wo.y() * sy);
}

QTransform Player::full() const {
    return dc_.world * page() * deviceToTarget_ * base_;
}

void Player::resizeTable(int n) {
    objects_.assign(size_t(std::clamp(n, 0, kMaxObjects)), GdiObject{});
}

void Player::createInFreeSlot(GdiObject object) {
    for (GdiObject& slot : objects_)
        if (slot.kind == GdiObject::Empty) {
            slot = std::move(object);
            if (slot.kind == GdiObject::Empty) slot.kind = GdiObject::Other;
            return;
        }
}

void Player::setObject(uint32_t index, GdiObject object) {
    if (index == 0 || index >= objects_.size()) return;
    objects_[index] = std::move(object);
}

GdiObject Player::objectAt(uint32_t index) const {
    if (emf_ && (index & 0x80000000u)) return stockObject(index & 0x7FFFFFFFu);
    if (index < objects_.size()) return objects_[index];
    return {};
}

void Player::selectObject(uint32_t index) {
    const GdiObject o = objectAt(index);
    switch (o.kind) {
        case GdiObject::Pen:
            dc_.pen = o.pen;
            break;
        case GdiObject::Brush:
            dc_.brush = o.brush;
            break;
        case GdiObject::Font:
            dc_.font = o.font;
            break;
        case GdiObject::Region:  // selecting a region sets the clip, as SelectClipRgn does
            clipRegion(o.region, true, 5);
            break;
        default:
            break;  // deleted, empty or a kind that is not drawn
    }
}

void Player::deleteObject(uint32_t index) {
    if (index < objects_.size()) objects_[index] = GdiObject{};
}

void Player::saveDc() {
    if (saved_.size() >= size_t(kMaxSavedDcs)) return;
    saved_.push_back(dc_);
    painter_.save();
}

void Player::restoreDc(int relative) {
    // Negative counts back from the top; positive names an absolute level (1 is the first save).
    int pops = relative < 0 ? -relative : int(saved_.size()) - relative + 1;
    if (pops <= 0 || pops > int(saved_.size())) return;
    while (pops-- > 0) {
        dc_ = saved_.back();
        saved_.pop_back();
        painter_.restore();
    }
    inPath_ = false;
}

void Player::combineClip(const QPainterPath& shape, const QTransform& space, int mode) {
    painter_.setTransform(space);
    QPainterPath current = painter_.hasClipping() ? painter_.clipPath() : QPainterPath();
    if (!painter_.hasClipping()) {
        QPainterPath whole;
        whole.addRect(space.inverted().mapRect(target_));
        current = whole;
    }
    QPainterPath next;
    switch (mode) {
        case 1:
            next = current.intersected(shape);
            break;
        case 2:
            next = current.united(shape);
            break;
        case 3:
            next = current.united(shape).subtracted(current.intersected(shape));
            break;
        case 4:
            next = current.subtracted(shape);
            break;
        case 5:
            next = shape;
            break;
        default:
            return;
    }
    painter_.setClipPath(next, Qt::ReplaceClip);
    painter_.setTransform(base_);
    painter_.setClipRect(target_, Qt::IntersectClip);
    dc_.clipped = true;
}

void Player::intersectClipRect(const QRectF& r) {
    QPainterPath p;
    p.addRect(r.normalized());
    combineClip(p, full(), 1);
}

void Player::excludeClipRect(const QRectF& r) {
    QPainterPath p;
    p.addRect(r.normalized());
    combineClip(p, full(), 4);
}

void Player::setDeviceClip(const QPainterPath& region, int mode) {
    combineClip(region, deviceToTarget_ * base_, mode);
}

void Player::resetClip() {
    painter_.setTransform(base_);
    painter_.setClipRect(target_, Qt::ReplaceClip);
    dc_.clipped = false;
}

void Player::selectClipPath(int mode) {
    path_.setFillRule(dc_.fillRule);
    combineClip(path_, full(), mode);
    path_ = QPainterPath();
    inPath_ = false;
}

QPen Player::qpen() const {
    const PenSpec& p = dc_.pen;
    const uint32_t style = p.style & 0x0F;
    if (style == 5) return Qt::NoPen;
    QPen pen(p.color);
    const QTransform t = full();
    const double scale = std::sqrt(std::abs(t.determinant()));
    const bool thin = std::abs(p.width) * scale < 1.0;  // cosmetic pens come here with width 0
    if (thin) {
        pen.setCosmetic(true);
        pen.setWidthF(1.0);
    } else {
        // No pen is wider than the picture is large; wider ones only cost stroking time.
        const double most = scale > 0 ? 4 * std::max(target_.width(), target_.height()) / scale : 1;
        pen.setWidthF(std::min(std::abs(p.width), most));
    }
    switch (p.style & 0x0F00) {
        case 0x100:
            pen.setCapStyle(Qt::SquareCap);
            break;
        case 0x200:
            pen.setCapStyle(Qt::FlatCap);
            break;
        default:
            pen.setCapStyle(Qt::RoundCap);
            break;
    }
    switch (p.style & 0xF000) {
        case 0x1000:
            pen.setJoinStyle(Qt::BevelJoin);
            break;
        case 0x2000:
            pen.setJoinStyle(Qt::MiterJoin);
            break;
        default:
            pen.setJoinStyle(Qt::RoundJoin);
            break;
    }
    pen.setMiterLimit(dc_.miterLimit);
    // Dash lengths in pen widths: a one-pixel pen uses the screen's pixel patterns.
    QList<qreal> dashes;
    switch (style) {
        case 1:
            dashes = thin ? QList<qreal>{18, 6} : QList<qreal>{3, 1};
            break;
        case 2:
            dashes = thin ? QList<qreal>{3, 3} : QList<qreal>{1, 1};
            break;
        case 3:
            dashes = thin ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1};
            break;
        case 4:
            dashes = thin ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1};
            break;
        case 7:
            for (double d : p.userDashes)
                dashes.append(std::max(0.01, thin || p.width <= 0 ? d : d / p.width));
            if (dashes.size() % 2) dashes.append(dashes);
            break;
        case 8:
            dashes = {1, 1};
            break;
        default:
            break;
    }
    if (!dashes.isEmpty()) pen.setDashPattern(dashes);
    return pen;
}

QBrush Player::qbrush(const BrushSpec& b) const {
    switch (b.style) {
        case 1:
            return Qt::NoBrush;
        case 2: {
            static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                         Qt::FDiagPattern, Qt::BDiagPattern,
                                                         Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(b.color, b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
        }
        case 3:
        case 5:
        case 6:
            if (!b.pattern.isNull()) {
                // Pattern tiles are laid in device pixels, not in logical units.
                QBrush brush(b.pattern);
                brush.setTransform((dc_.world * page()).inverted());
                return brush;
            }
            return QBrush(b.color);
        default:
            return QBrush(b.color);
    }
}

bool Player::applyRop2() {
    if (dc_.rop2 == 11) return false;  // R2_NOP
    const bool raster = dc_.rop2 != 13 && dc_.rop2 != 1 && dc_.rop2 != 16;
    painter_.setCompositionMode(rop2Mode(dc_.rop2));
    painter_.setRenderHint(QPainter::Antialiasing, !raster);  // exact bits for raster ops
    return true;
}

void Player::drawPath(const QPainterPath& path, bool fill, bool stroke) {
    if (!applyRop2()) return;
    painter_.setTransform(full());
    QPen pen = stroke ? qpen() : QPen(Qt::NoPen);
    QBrush brush = fill ? qbrush() : QBrush(Qt::NoBrush);
    if (dc_.rop2 == 1 || dc_.rop2 == 16) {  // R2_BLACK, R2_WHITE
        const QColor c = dc_.rop2 == 1 ? Qt::black : Qt::white;
        if (pen.style() != Qt::NoPen) pen.setColor(c);
        if (brush.style() != Qt::NoBrush) brush = QBrush(c);
    }
    painter_.setBackgroundMode(dc_.bkMode == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(dc_.bkColor);
    painter_.setPen(pen);
    painter_.setBrush(brush);
    painter_.drawPath(path);
}

}  // namespace metafile
