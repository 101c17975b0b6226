#include "paint_kit.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace bookgen::kit {

namespace {

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

void trunk(QPainter& p, QPointF base, double w, double h) {
    QPainterPath path;
    path.moveTo(base.x() - w * 0.75, base.y());
    path.quadTo(base.x() - w * 0.35, base.y() - h * 0.5, base.x() - w * 0.35, base.y() - h);
    path.lineTo(base.x() + w * 0.35, base.y() - h);
    path.quadTo(base.x() + w * 0.35, base.y() - h * 0.5, base.x() + w * 0.75, base.y());
    path.closeSubpath();
    QLinearGradient g(base.x() - w, 0, base.x() + w, 0);
    g.setColorAt(0, QColor(120, 78, 44));
    g.setColorAt(1, QColor(78, 50, 28));
    p.fillPath(path, g);
}

void leafBall(QPainter& p, QPointF c, double r, const QColor& leaf) {
    QRadialGradient g(c + QPointF(-r * 0.35, -r * 0.4), r * 1.3);
    g.setColorAt(0, leaf.lighter(135));
    g.setColorAt(0.6, leaf);
    g.setColorAt(1, leaf.darker(140));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

}  // namespace

void sky(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

void bandedSky(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, int bands) {
    const double h = r.height() / bands;
    for (int i = 0; i < bands; ++i)
        p.fillRect(QRectF(r.left(), r.top() + i * h, r.width(), h + 1),
                   mix(top, bottom, double(i) / (bands - 1)));
}

void sun(QPainter& p, QPointF c, double r, const QColor& core, const QColor& glow) {
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient halo(c, r * 3.2);
    QColor g0 = glow, g1 = glow;
    g0.setAlpha(150);
    g1.setAlpha(0);
    halo.setColorAt(0, g0);
    halo.setColorAt(1, g1);
    p.setBrush(halo);
    p.drawEllipse(c, r * 3.2, r * 3.2);
    QRadialGradient disc(c - QPointF(r * 0.3, r * 0.3), r);
    disc.setColorAt(0, core.lighter(120));
    disc.setColorAt(1, core);
    p.setBrush(disc);
    p.drawEllipse(c, r, r);
    p.restore();
}

void cloud(QPainter& p, QPointF c, double w, int opacityPercent) {
    QPainterPath path;
    const double h = w * 0.28;
    path.addEllipse(c + QPointF(-w * 0.30, -h * 0.05), w * 0.22, h * 0.55);
    path.addEllipse(c + QPointF(-w * 0.08, -h * 0.45), w * 0.22, h * 0.85);
    path.addEllipse(c + QPointF(w * 0.15, -h * 0.3), w * 0.2, h * 0.7);
    path.addEllipse(c + QPointF(w * 0.32, 0), w * 0.18, h * 0.5);
    path.addRoundedRect(QRectF(c.x() - w * 0.45, c.y() - h * 0.1, w * 0.9, h * 0.55), h * 0.27,
                        h * 0.27);
    path.setFillRule(Qt::WindingFill);
    p.save();
    p.setOpacity(opacityPercent / 100.0);
    QLinearGradient g(c.x(), c.y() - h, c.x(), c.y() + h * 0.5);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(222, 230, 242));
    p.fillPath(path.simplified(), g);
    p.restore();
}

void hills(QPainter& p, double x0, double x1, double baseY, double bottom, double amplitude,
           double phase, const QColor& top, const QColor& foot) {
    QPainterPath path;
    path.moveTo(x0, bottom);
    const int steps = 80;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double x = x0 + (x1 - x0) * t;
        const double y =
            baseY - amplitude * (0.6 * qSin(t * 5.1 + phase) + 0.3 * qSin(t * 11.3 + phase * 1.7) +
                                 0.1 * qSin(t * 23.0 + phase * 0.3));
        path.lineTo(x, y);
    }
    path.lineTo(x1, bottom);
    path.closeSubpath();
    QLinearGradient g(0, baseY - amplitude, 0, bottom);
    g.setColorAt(0, top);
    g.setColorAt(1, foot);
    p.fillPath(path, g);
}

void roundTree(QPainter& p, QPointF base, double h, const QColor& leaf) {
    p.save();
    p.setPen(Qt::NoPen);
    trunk(p, base, h * 0.09, h * 0.55);
    const double r = h * 0.24;
    leafBall(p, base + QPointF(-r * 0.7, -h * 0.55), r * 0.85, leaf);
    leafBall(p, base + QPointF(r * 0.75, -h * 0.57), r * 0.8, leaf);
    leafBall(p, base + QPointF(0, -h * 0.75), r, leaf);
    p.restore();
}

void blossomTree(QPainter& p, QPointF base, double h, quint32 seed) {
    p.save();
    p.setPen(Qt::NoPen);
    trunk(p, base, h * 0.08, h * 0.6);
    // A few branches so the blossom does not float.
    p.setPen(QPen(QColor(96, 62, 36), h * 0.03, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(base + QPointF(0, -h * 0.45), base + QPointF(-h * 0.25, -h * 0.72));
    p.drawLine(base + QPointF(0, -h * 0.5), base + QPointF(h * 0.22, -h * 0.78));
    p.setPen(Qt::NoPen);
    Rng rng(seed);
    for (int i = 0; i < 70; ++i) {
        const double a = rng.range(0, 2 * M_PI);
        const double d = qSqrt(rng.unit());
        const QPointF c =
            base + QPointF(qCos(a) * d * h * 0.36, -h * 0.74 + qSin(a) * d * h * 0.24);
        const double r = h * rng.range(0.04, 0.08);
        QColor pink =
            QColor::fromHsvF(float(rng.range(0.92, 0.98)), float(rng.range(0.2, 0.45)), 1.0f);
        pink.setAlphaF(0.85f);
        p.setBrush(pink);
        p.drawEllipse(c, r, r);
    }
    p.restore();
}

void pineTree(QPainter& p, QPointF base, double h, const QColor& leaf) {
    p.save();
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(base.x() - h * 0.035, base.y() - h * 0.2, h * 0.07, h * 0.2),
               QColor(92, 60, 34));
    for (int i = 0; i < 3; ++i) {
        const double w = h * (0.42 - i * 0.1);
        const double yb = base.y() - h * (0.15 + i * 0.25);
        QPainterPath tri;
        tri.moveTo(base.x() - w / 2, yb);
        tri.lineTo(base.x(), yb - h * 0.42);
        tri.lineTo(base.x() + w / 2, yb);
        tri.closeSubpath();
        QLinearGradient g(base.x() - w / 2, 0, base.x() + w / 2, 0);
        g.setColorAt(0, leaf.lighter(120));
        g.setColorAt(1, leaf.darker(130));
        p.fillPath(tri, g);
    }
    p.restore();
}

void willow(QPainter& p, QPointF base, double h) {
    p.save();
    p.setPen(Qt::NoPen);
    trunk(p, base, h * 0.07, h * 0.7);
    const QPointF crown = base + QPointF(0, -h * 0.72);
    for (int i = 0; i < 26; ++i) {
        const double dx = (i - 12.5) / 12.5;
        QPainterPath strand;
        const QPointF start = crown + QPointF(dx * h * 0.12, -h * 0.05 * (1 - dx * dx));
        strand.moveTo(start);
        const QPointF end = start + QPointF(dx * h * 0.32, h * (0.45 + 0.1 * qCos(i * 1.7)));
        strand.quadTo(start + QPointF(dx * h * 0.38, -h * 0.1), end);
        p.setPen(QPen(QColor::fromHsvF(0.24f, 0.7f, float(0.55 + 0.2 * qSin(i * 2.3))), h * 0.018,
                      Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(strand);
    }
    p.restore();
}

void house(QPainter& p, QPointF base, double w, const QColor& wall, const QColor& roof) {
    p.save();
    p.setPen(QPen(wall.darker(160), w * 0.01));
    const double h = w * 0.62;
    const QRectF body(base.x() - w / 2, base.y() - h, w, h);
    QLinearGradient wg(body.topLeft(), body.topRight());
    wg.setColorAt(0, wall.lighter(108));
    wg.setColorAt(1, wall.darker(112));
    p.setBrush(wg);
    p.drawRect(body);
    // Chimney first so the roof covers its foot.
    p.setBrush(QColor(150, 90, 70));
    p.drawRect(QRectF(base.x() + w * 0.22, body.top() - w * 0.42, w * 0.1, w * 0.3));
    QPainterPath roofPath;
    roofPath.moveTo(body.left() - w * 0.08, body.top());
    roofPath.lineTo(base.x(), body.top() - w * 0.45);
    roofPath.lineTo(body.right() + w * 0.08, body.top());
    roofPath.closeSubpath();
    p.setPen(QPen(roof.darker(150), w * 0.012));
    p.setBrush(roof);
    p.drawPath(roofPath);
    p.setPen(QPen(QColor(90, 60, 40), w * 0.012));
    p.setBrush(QColor(140, 86, 50));
    p.drawRect(QRectF(base.x() - w * 0.1, base.y() - h * 0.55, w * 0.2, h * 0.55));
    for (double side : {-0.3, 0.3}) {
        const QRectF win(base.x() + side * w - w * 0.1, body.top() + h * 0.22, w * 0.2, w * 0.18);
        p.setBrush(QColor(200, 230, 250));
        p.drawRect(win);
        p.drawLine(QPointF(win.center().x(), win.top()), QPointF(win.center().x(), win.bottom()));
        p.drawLine(QPointF(win.left(), win.center().y()), QPointF(win.right(), win.center().y()));
    }
    p.restore();
}

void flower(QPainter& p, QPointF c, double r, const QColor& petal) {
    p.save();
    p.setPen(QPen(QColor(60, 140, 60), r * 0.25));
    p.drawLine(c, c + QPointF(0, r * 3));
    p.setPen(Qt::NoPen);
    p.setBrush(petal);
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * M_PI / 5 - M_PI / 2;
        p.drawEllipse(c + QPointF(qCos(a), qSin(a)) * r * 0.75, r * 0.55, r * 0.55);
    }
    p.setBrush(QColor(250, 210, 60));
    p.drawEllipse(c, r * 0.4, r * 0.4);
    p.restore();
}

void flowerMeadow(QPainter& p, const QRectF& area, int count, quint32 seed) {
    static const QColor kPetals[] = {QColor(250, 90, 110), QColor(255, 255, 255),
                                     QColor(255, 200, 40), QColor(180, 110, 230),
                                     QColor(255, 150, 190)};
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const double t = rng.unit();  // farther flowers (higher up) are smaller
        const QPointF c(rng.range(area.left(), area.right()), area.top() + t * area.height());
        flower(p, c, area.height() * (0.025 + 0.05 * t), kPetals[int(rng.unit() * 5) % 5]);
    }
}

void grassTufts(QPainter& p, const QRectF& area, int count, const QColor& blade, quint32 seed) {
    p.save();
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const QPointF c(rng.range(area.left(), area.right()), rng.range(area.top(), area.bottom()));
        const double h = area.height() * 0.06 * (0.5 + (c.y() - area.top()) / area.height());
        p.setPen(QPen(blade, qMax(1.0, h * 0.12), Qt::SolidLine, Qt::RoundCap));
        for (int k = -2; k <= 2; ++k)
            p.drawLine(c, c + QPointF(k * h * 0.22, -h * (1 - qAbs(k) * 0.15)));
    }
    p.restore();
}

void duck(QPainter& p, QPointF c, double size, bool facingLeft, const QColor& body) {
    p.save();
    p.translate(c);
    if (facingLeft) p.scale(-1, 1);
    p.setPen(QPen(body.darker(170), size * 0.03));
    p.setBrush(body);
    QPainterPath b;
    b.moveTo(-size * 0.5, -size * 0.1);
    b.quadTo(-size * 0.55, size * 0.25, 0, size * 0.25);
    b.quadTo(size * 0.45, size * 0.25, size * 0.4, -size * 0.05);
    b.quadTo(0, size * 0.05, -size * 0.5, -size * 0.1);
    p.drawPath(b);
    p.drawEllipse(QPointF(size * 0.32, -size * 0.28), size * 0.17, size * 0.17);
    p.setBrush(QColor(245, 150, 30));
    QPainterPath beak;
    beak.moveTo(size * 0.46, -size * 0.3);
    beak.lineTo(size * 0.68, -size * 0.24);
    beak.lineTo(size * 0.46, -size * 0.2);
    beak.closeSubpath();
    p.drawPath(beak);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(size * 0.36, -size * 0.32), size * 0.035, size * 0.035);
    p.setPen(QPen(body.darker(140), size * 0.03));
    p.drawArc(QRectF(-size * 0.25, -size * 0.05, size * 0.45, size * 0.22), 200 * 16, 140 * 16);
    p.restore();
}

void cat(QPainter& p, QPointF base, double h, const QColor& fur) {
    p.save();
    p.translate(base);
    const QPen outline(fur.darker(200), h * 0.02);
    p.setPen(outline);
    p.setBrush(fur);
    // Tail curling round the front paws.
    QPainterPath tail;
    tail.moveTo(h * 0.22, -h * 0.08);
    tail.cubicTo(h * 0.6, -h * 0.05, h * 0.55, -h * 0.45, h * 0.42, -h * 0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(fur.darker(200), h * 0.1, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(tail);
    p.setPen(QPen(fur, h * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(tail);
    p.setPen(outline);
    p.setBrush(fur);
    p.drawEllipse(QRectF(-h * 0.28, -h * 0.62, h * 0.56, h * 0.62));
    p.setBrush(fur.lighter(150));
    p.drawEllipse(QRectF(-h * 0.14, -h * 0.45, h * 0.28, h * 0.38));
    p.setBrush(fur);
    for (double s : {-1.0, 1.0}) {
        QPainterPath ear;
        ear.moveTo(s * h * 0.2, -h * 0.78);
        ear.lineTo(s * h * 0.24, -h * 1.02);
        ear.lineTo(s * h * 0.05, -h * 0.9);
        ear.closeSubpath();
        p.drawPath(ear);
    }
    p.drawEllipse(QPointF(0, -h * 0.76), h * 0.25, h * 0.21);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 140, 60));
    for (double s : {-1.0, 1.0}) p.drawEllipse(QPointF(s * h * 0.1, -h * 0.8), h * 0.04, h * 0.05);
    p.setBrush(Qt::black);
    for (double s : {-1.0, 1.0}) p.drawEllipse(QPointF(s * h * 0.1, -h * 0.8), h * 0.015, h * 0.04);
    p.setBrush(QColor(240, 130, 140));
    p.drawEllipse(QPointF(0, -h * 0.72), h * 0.025, h * 0.02);
    p.setPen(QPen(fur.darker(220), h * 0.008));
    for (double s : {-1.0, 1.0})
        for (double dy : {-0.02, 0.02})
            p.drawLine(QPointF(s * h * 0.08, -h * 0.7), QPointF(s * h * 0.3, -h * (0.71 - dy * 2)));
    p.setPen(outline);
    p.setBrush(fur.lighter(150));
    for (double s : {-1.0, 1.0}) p.drawEllipse(QPointF(s * h * 0.1, -h * 0.03), h * 0.08, h * 0.04);
    p.restore();
}

void dog(QPainter& p, QPointF base, double h, const QColor& fur) {
    p.save();
    p.translate(base);
    p.setPen(QPen(fur.darker(200), h * 0.025));
    p.setBrush(fur);
    for (double x : {-0.4, -0.25, 0.2, 0.35})
        p.drawRoundedRect(QRectF(h * x, -h * 0.35, h * 0.1, h * 0.35), h * 0.04, h * 0.04);
    p.drawEllipse(QRectF(-h * 0.5, -h * 0.65, h * 0.95, h * 0.4));
    p.drawLine(QPointF(-h * 0.48, -h * 0.5), QPointF(-h * 0.65, -h * 0.75));
    p.drawEllipse(QPointF(h * 0.45, -h * 0.75), h * 0.2, h * 0.18);
    p.drawEllipse(QRectF(h * 0.55, -h * 0.74, h * 0.22, h * 0.13));
    p.setBrush(fur.darker(140));
    p.drawEllipse(QRectF(h * 0.28, -h * 0.85, h * 0.12, h * 0.3));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(h * 0.5, -h * 0.8), h * 0.03, h * 0.03);
    p.drawEllipse(QPointF(h * 0.76, -h * 0.69), h * 0.035, h * 0.03);
    p.restore();
}

void person(QPainter& p, QPointF feet, double h, const QColor& shirt, const QColor& legs, bool girl,
            bool waving) {
    p.save();
    p.translate(feet);
    const QColor skin(250, 214, 180);
    p.setPen(QPen(legs.darker(130), h * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-h * 0.06, -h * 0.45), QPointF(-h * 0.08, -h * 0.02));
    p.drawLine(QPointF(h * 0.06, -h * 0.45), QPointF(h * 0.08, -h * 0.02));
    // Arms get a darker rim so they stand out against a sandy path as well as against grass.
    const QPointF rightHand = waving ? QPointF(h * 0.26, -h * 0.95) : QPointF(h * 0.2, -h * 0.45);
    for (const QPen& pen : {QPen(skin.darker(150), h * 0.07, Qt::SolidLine, Qt::RoundCap),
                            QPen(skin, h * 0.045, Qt::SolidLine, Qt::RoundCap)}) {
        p.setPen(pen);
        p.drawLine(QPointF(-h * 0.12, -h * 0.72), QPointF(-h * 0.2, -h * 0.45));
        p.drawLine(QPointF(h * 0.12, -h * 0.72), rightHand);
    }
    p.setPen(QPen(shirt.darker(150), h * 0.012));
    p.setBrush(shirt);
    QPainterPath body;
    if (girl) {  // a dress
        body.moveTo(-h * 0.1, -h * 0.76);
        body.lineTo(h * 0.1, -h * 0.76);
        body.lineTo(h * 0.2, -h * 0.38);
        body.lineTo(-h * 0.2, -h * 0.38);
    } else {
        body.addRoundedRect(QRectF(-h * 0.13, -h * 0.78, h * 0.26, h * 0.38), h * 0.06, h * 0.06);
    }
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(QPen(skin.darker(130), h * 0.01));
    p.setBrush(skin);
    p.drawEllipse(QPointF(0, -h * 0.88), h * 0.11, h * 0.12);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 36, 30));
    p.drawChord(QRectF(-h * 0.12, -h * 1.01, h * 0.24, h * 0.2), 0, 180 * 16);
    if (girl) {
        p.drawEllipse(QPointF(-h * 0.13, -h * 0.9), h * 0.04, h * 0.06);
        p.drawEllipse(QPointF(h * 0.13, -h * 0.9), h * 0.04, h * 0.06);
    }
    p.drawEllipse(QPointF(-h * 0.04, -h * 0.88), h * 0.012, h * 0.015);
    p.drawEllipse(QPointF(h * 0.04, -h * 0.88), h * 0.012, h * 0.015);
    p.setPen(QPen(QColor(200, 80, 80), h * 0.01, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-h * 0.04, -h * 0.86, h * 0.08, h * 0.04), 200 * 16, 140 * 16);
    p.restore();
}

void bird(QPainter& p, QPointF c, double span, const QColor& color) {
    p.save();
    p.setPen(QPen(color, qMax(1.0, span * 0.08), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(c + QPointF(-span / 2, -span * 0.1));
    path.quadTo(c + QPointF(-span * 0.2, -span * 0.3), c);
    path.quadTo(c + QPointF(span * 0.2, -span * 0.3), c + QPointF(span / 2, -span * 0.1));
    p.drawPath(path);
    p.restore();
}

void butterfly(QPainter& p, QPointF c, double size, const QColor& wing) {
    p.save();
    p.translate(c);
    p.setPen(QPen(wing.darker(170), size * 0.04));
    p.setBrush(wing);
    for (double s : {-1.0, 1.0}) {
        p.drawEllipse(QPointF(s * size * 0.25, -size * 0.15), size * 0.25, size * 0.2);
        p.drawEllipse(QPointF(s * size * 0.2, size * 0.15), size * 0.17, size * 0.14);
    }
    p.setBrush(QColor(60, 40, 30));
    p.drawEllipse(QPointF(0, 0), size * 0.05, size * 0.3);
    p.restore();
}

void kite(QPainter& p, QPointF c, double size, QPointF stringEnd) {
    p.save();
    p.setPen(QPen(QColor(90, 90, 90), qMax(1.0, size * 0.012)));
    QPainterPath line;
    const QPointF tail = c + QPointF(0, size * 0.6);
    line.moveTo(tail);
    line.quadTo((tail + stringEnd) / 2 + QPointF(size * 0.8, 0), stringEnd);
    p.drawPath(line);
    QPainterPath body;
    body.moveTo(c + QPointF(0, -size * 0.6));
    body.lineTo(c + QPointF(size * 0.42, 0));
    body.lineTo(tail);
    body.lineTo(c + QPointF(-size * 0.42, 0));
    body.closeSubpath();
    p.setPen(QPen(QColor(120, 30, 30), size * 0.02));
    QLinearGradient g(c + QPointF(-size * 0.4, 0), c + QPointF(size * 0.4, 0));
    g.setColorAt(0, QColor(235, 60, 60));
    g.setColorAt(0.5, QColor(255, 200, 40));
    g.setColorAt(1, QColor(60, 140, 230));
    p.setBrush(g);
    p.drawPath(body);
    p.drawLine(c + QPointF(0, -size * 0.6), tail);
    p.drawLine(c + QPointF(-size * 0.42, 0), c + QPointF(size * 0.42, 0));
    // A ribbon tail with bows.
    QPainterPath ribbon;
    ribbon.moveTo(tail);
    ribbon.cubicTo(tail + QPointF(-size * 0.3, size * 0.4), tail + QPointF(size * 0.3, size * 0.8),
                   tail + QPointF(-size * 0.1, size * 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ribbon);
    p.setPen(Qt::NoPen);
    for (int i = 1; i <= 3; ++i) {
        const QPointF b = ribbon.pointAtPercent(i / 3.5);
        p.setBrush(i % 2 ? QColor(240, 70, 90) : QColor(70, 150, 240));
        p.drawEllipse(b + QPointF(-size * 0.06, 0), size * 0.06, size * 0.035);
        p.drawEllipse(b + QPointF(size * 0.06, 0), size * 0.06, size * 0.035);
    }
    p.restore();
}

void boat(QPainter& p, QPointF c, double w) {
    p.save();
    p.setPen(QPen(QColor(70, 40, 20), w * 0.02));
    QPainterPath hull;
    hull.moveTo(c + QPointF(-w * 0.5, -w * 0.08));
    hull.quadTo(c + QPointF(0, w * 0.12), c + QPointF(w * 0.5, -w * 0.1));
    hull.quadTo(c + QPointF(0, -w * 0.02), c + QPointF(-w * 0.5, -w * 0.08));
    p.setBrush(QColor(140, 84, 44));
    p.drawPath(hull);
    QPainterPath cabin;  // the arched bamboo awning of a river boat
    cabin.moveTo(c + QPointF(-w * 0.2, -w * 0.04));
    cabin.cubicTo(c + QPointF(-w * 0.2, -w * 0.22), c + QPointF(w * 0.15, -w * 0.22),
                  c + QPointF(w * 0.15, -w * 0.05));
    cabin.closeSubpath();
    p.setBrush(QColor(96, 70, 40));
    p.drawPath(cabin);
    p.drawLine(c + QPointF(w * 0.35, -w * 0.1), c + QPointF(w * 0.55, -w * 0.45));
    p.restore();
}

void river(QPainter& p, QPointF far, QPointF near, double farWidth, double nearWidth, double bend,
           const QColor& water) {
    QPainterPath path;
    const QPointF mid = (far + near) / 2;
    path.moveTo(far + QPointF(-farWidth / 2, 0));
    path.cubicTo(mid + QPointF(bend - nearWidth * 0.3, -(near.y() - far.y()) * 0.2),
                 mid + QPointF(-bend - nearWidth * 0.4, (near.y() - far.y()) * 0.2),
                 near + QPointF(-nearWidth / 2, 0));
    path.lineTo(near + QPointF(nearWidth / 2, 0));
    path.cubicTo(mid + QPointF(-bend + nearWidth * 0.4, (near.y() - far.y()) * 0.2),
                 mid + QPointF(bend + nearWidth * 0.3, -(near.y() - far.y()) * 0.2),
                 far + QPointF(farWidth / 2, 0));
    path.closeSubpath();
    QLinearGradient g(far, near);
    g.setColorAt(0, water.lighter(140));
    g.setColorAt(1, water);
    p.fillPath(path, g);
    p.save();
    p.setClipPath(path);
    waterRipples(p, path.boundingRect(), int(nearWidth / 6), 7);
    p.restore();
}

void waterRipples(QPainter& p, const QRectF& area, int count, quint32 seed) {
    p.save();
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const double t = rng.unit();
        const QPointF c(rng.range(area.left(), area.right()), area.top() + t * area.height());
        const double len = area.width() * (0.02 + 0.06 * t);
        p.setPen(
            QPen(QColor(255, 255, 255, 110), qMax(1.0, len * 0.06), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, c + QPointF(len, 0));
    }
    p.restore();
}

}  // namespace bookgen::kit
