#include "player.h"

#include <QtMath>

#include <cmath>

namespace metafile {

void Player::moveTo(QPointF p) {
    dc_.current = p;
    if (inPath_) path_.moveTo(p);
}

void Player::lineTo(QPointF p) {
    if (inPath_) {
        if (path_.elementCount() == 0) path_.moveTo(dc_.current);
        path_.lineTo(p);
    } else {
        QPainterPath line(dc_.current);
        line.lineTo(p);
        drawPath(line, false, true);
    }
    dc_.current = p;
}

// One polygon is a poly-polygon of one.
void Player::polygon(const QPolygonF& points) {
    if (points.size() < 2) return;
    polyPolygon({points});
}

void Player::polyPolygon(const QList<QPolygonF>& polygons) {
    QPainterPath p;
    for (const QPolygonF& poly : polygons) {
        if (poly.size() < 2) continue;
        p.addPolygon(poly);
        p.closeSubpath();
    }
    p.setFillRule(dc_.fillRule);
    if (inPath_)
        path_.addPath(p);
    else
        drawPath(p, true, true);
}

void Player::polyline(const QPolygonF& points) {
    if (points.size() < 2) return;
    QPainterPath p;
    p.addPolygon(points);
    if (inPath_)
        path_.addPath(p);
    else
        drawPath(p, false, true);
}

void Player::polylineTo(const QPolygonF& points) {
    if (points.isEmpty()) return;
    if (inPath_) {
        if (path_.elementCount() == 0) path_.moveTo(dc_.current);
        for (QPointF pt : points) path_.lineTo(pt);
    } else {
        QPainterPath p(dc_.current);
        for (QPointF pt : points) p.lineTo(pt);
        drawPath(p, false, true);
    }
    dc_.current = points.last();
}

void Player::polyBezier(const QPolygonF& points, bool fromCurrent) {
    qsizetype i = 0;
    QPointF start = dc_.current;
    if (!fromCurrent) {
        if (points.isEmpty()) return;
        start = points[0];
        i = 1;
    }
    QPainterPath local(start);
    QPainterPath& p = inPath_ ? path_ : local;
    if (inPath_ && (path_.elementCount() == 0 || !fromCurrent)) path_.moveTo(start);
    for (; i + 2 < points.size(); i += 3) p.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (fromCurrent && i > 0) dc_.current = points[i - 1];
    if (!inPath_) drawPath(local, false, true);
}

void Player::rectangle(const QRectF& r) {
    QPainterPath p;
    p.addRect(r.normalized());
    if (inPath_)
        path_.addPath(p);
    else
        drawPath(p, true, true);
}

void Player::roundRect(const QRectF& r, QSizeF corner) {
    QPainterPath p;
    p.addRoundedRect(r.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    if (inPath_)
        path_.addPath(p);
    else
        drawPath(p, true, true);
}

void Player::ellipse(const QRectF& r) {
    QPainterPath p;
    p.addEllipse(r.normalized());
    if (inPath_)
        path_.addPath(p);
    else
        drawPath(p, true, true);
}

void Player::arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end) {
    const QRectF r = box.normalized();
    if (r.width() <= 0 || r.height() <= 0) return;
    const QPointF c = r.center();
    auto angle = [&](QPointF p) {
        return qRadiansToDegrees(
            std::atan2(-(p.y() - c.y()) / r.height(), (p.x() - c.x()) / r.width()));
    };
    const double a0 = angle(start);
    double sweep = angle(end) - a0;
    // Arcs run counter-clockwise on the device unless the direction says otherwise; a mapping
    // that flips one axis flips what counter-clockwise means in logical units.
    bool clockwise = dc_.clockwise;
    const QTransform m = dc_.world * page();
    if (m.determinant() < 0) clockwise = !clockwise;
    if (!clockwise) {
        while (sweep <= 0) sweep += 360;
        while (sweep > 360) sweep -= 360;
    } else {
        while (sweep >= 0) sweep -= 360;
        while (sweep < -360) sweep += 360;
    }
    QPainterPath p;
    if (kind == ArcKind::Pie) p.moveTo(c);
    p.arcMoveTo(r, a0);
    if (kind == ArcKind::Pie) p.lineTo(p.currentPosition());
    if (kind == ArcKind::ArcTo) {
        QPainterPath lead(dc_.current);
        lead.lineTo(p.currentPosition());
        if (inPath_) {
            if (path_.elementCount() == 0) path_.moveTo(dc_.current);
            path_.lineTo(p.currentPosition());
        } else {
            drawPath(lead, false, true);
        }
    }
    p.arcTo(r, a0, sweep);
    const QPointF last = p.currentPosition();
    if (kind == ArcKind::Chord || kind == ArcKind::Pie) p.closeSubpath();
    const bool closed = kind == ArcKind::Chord || kind == ArcKind::Pie;
    if (inPath_) {
        if (kind == ArcKind::ArcTo) {
            path_.arcTo(r, a0, sweep);
        } else {
            path_.addPath(p);
        }
    } else {
        drawPath(p, closed, true);
    }
    if (kind == ArcKind::ArcTo) dc_.current = last;
}

void Player::fillRect(const QRectF& r, const QBrush& brush) {
    QPainterPath p;
    p.addRect(r.normalized());
    fillShape(p, brush);
}

void Player::fillShape(const QPainterPath& shape, const QBrush& brush) {
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setTransform(full());
    painter_.fillPath(shape, brush);
}

void Player::beginPath() {
    inPath_ = true;
    path_ = QPainterPath();
}

void Player::closeFigure() {
    if (inPath_) path_.closeSubpath();
}

void Player::abortPath() {
    inPath_ = false;
    path_ = QPainterPath();
}

void Player::fillPath() {
    path_.setFillRule(dc_.fillRule);
    drawPath(path_, true, false);
    abortPath();
}

void Player::strokePath() {
    drawPath(path_, false, true);
    abortPath();
}

void Player::strokeAndFillPath() {
    path_.setFillRule(dc_.fillRule);
    drawPath(path_, true, true);
    abortPath();
}

}  // namespace metafile
