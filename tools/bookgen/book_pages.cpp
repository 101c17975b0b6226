#include "book_pages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "paint_kit.h"

namespace bookgen {

namespace {

using namespace kit;

const QColor kLeaf(64, 150, 64);
const QColor kDarkLeaf(40, 110, 50);

struct Canvas {
    explicit Canvas(int w, int h, bool smooth = true) : image(w, h, QImage::Format_RGB32) {
        image.fill(Qt::white);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing, smooth);
    }
    QImage take() {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
};

// Setting out in the morning: the family leaves the house, the dog runs ahead.
QImage departure() {
    Canvas c(1024, 680);
    QPainter& p = c.painter;
    sky(p, QRectF(0, 0, 1024, 460), QColor(110, 170, 235), QColor(250, 232, 200));
    sun(p, QPointF(820, 150), 46, QColor(255, 180, 60), QColor(255, 225, 160));
    cloud(p, QPointF(240, 110), 220);
    cloud(p, QPointF(600, 70), 160, 85);
    hills(p, 0, 1024, 380, 680, 50, 0.8, QColor(140, 180, 205), QColor(170, 200, 210));
    hills(p, 0, 1024, 450, 680, 36, 2.4, QColor(130, 200, 110), QColor(90, 170, 80));
    // The lane from the gate towards the hills.
    QPainterPath lane;
    lane.moveTo(330, 680);
    lane.cubicTo(420, 600, 600, 560, 640, 470);
    lane.lineTo(660, 470);
    lane.cubicTo(660, 560, 620, 620, 640, 680);
    lane.closeSubpath();
    p.fillPath(lane, QColor(222, 196, 150));
    house(p, QPointF(170, 560), 230, QColor(250, 240, 220), QColor(200, 70, 60));
    blossomTree(p, QPointF(360, 575), 230, 21);
    roundTree(p, QPointF(930, 520), 170, kLeaf);
    pineTree(p, QPointF(760, 470), 90, kDarkLeaf);
    flowerMeadow(p, QRectF(0, 590, 1024, 80), 70, 4);
    grassTufts(p, QRectF(0, 560, 1024, 120), 60, QColor(60, 140, 50), 5);
    person(p, QPointF(500, 640), 170, QColor(60, 110, 200), QColor(50, 60, 90), false, false);
    person(p, QPointF(560, 640), 150, QColor(230, 110, 150), QColor(240, 200, 200), true, false);
    person(p, QPointF(620, 645), 100, QColor(250, 200, 40), QColor(60, 90, 160), false, true);
    dog(p, QPointF(700, 650), 60, QColor(200, 150, 90));
    for (int i = 0; i < 3; ++i)
        bird(p, QPointF(480 + i * 40, 190 + (i % 2) * 20), 22, QColor(60, 60, 80));
    return c.take();
}

// Ducks on the stream under a willow, a stone bridge behind.
QImage stream() {
    Canvas c(480, 360);
    QPainter& p = c.painter;
    sky(p, QRectF(0, 0, 480, 200), QColor(120, 185, 240), QColor(225, 240, 250));
    cloud(p, QPointF(330, 60), 120);
    hills(p, 0, 480, 150, 360, 22, 1.3, QColor(140, 200, 120), QColor(110, 180, 90));
    river(p, QPointF(300, 170), QPointF(230, 360), 40, 420, 40, QColor(60, 140, 200));
    // A round-arched bridge across the far water.
    p.save();
    p.setPen(QPen(QColor(120, 120, 120), 2));
    p.setBrush(QColor(190, 185, 175));
    QPainterPath bridge;
    bridge.moveTo(230, 190);
    bridge.quadTo(300, 140, 370, 190);
    bridge.lineTo(360, 190);
    bridge.arcTo(QRectF(265, 165, 70, 50), 0, 180);
    bridge.closeSubpath();
    p.drawPath(bridge);
    p.restore();
    willow(p, QPointF(70, 300), 260);
    grassTufts(p, QRectF(0, 280, 120, 80), 20, QColor(50, 120, 40), 2);
    grassTufts(p, QRectF(380, 250, 100, 110), 20, QColor(50, 120, 40), 3);
    duck(p, QPointF(220, 300), 60, false, QColor(255, 255, 255));
    duck(p, QPointF(290, 320), 40, false, QColor(255, 225, 90));
    duck(p, QPointF(330, 290), 36, false, QColor(255, 225, 90));
    duck(p, QPointF(350, 230), 30, true, QColor(150, 110, 70));
    return c.take();
}

// Rapeseed in flower, painted in flat colours so that the GIF keeps every one of them.
QImage rapeseed() {
    Canvas c(640, 480, false);
    QPainter& p = c.painter;
    bandedSky(p, QRectF(0, 0, 640, 260), QColor(90, 160, 230), QColor(200, 230, 250), 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 90));
    p.drawEllipse(QPointF(110, 80), 40, 40);
    p.setBrush(QColor(255, 255, 255));
    for (QPointF cl : {QPointF(380, 70), QPointF(520, 120)}) {
        p.drawEllipse(cl, 60, 22);
        p.drawEllipse(cl + QPointF(-25, -15), 30, 22);
        p.drawEllipse(cl + QPointF(20, -18), 34, 26);
    }
    QPainterPath far;
    far.moveTo(0, 250);
    far.cubicTo(160, 170, 260, 230, 380, 200);
    far.cubicTo(480, 175, 560, 220, 640, 210);
    far.lineTo(640, 480);
    far.lineTo(0, 480);
    p.fillPath(far, QColor(120, 170, 110));
    // The field: green furrows running towards a vanishing point behind the hill, covered in
    // blossom that grows coarser towards the viewer.
    const QRectF field(0, 250, 640, 230);
    p.fillRect(field, QColor(250, 215, 40));
    p.save();
    p.setClipRect(field);
    p.setBrush(QColor(110, 175, 60));
    for (int k = -14; k <= 14; ++k) {
        const double x = 320 + k * 64;
        p.drawPolygon(QPolygonF({QPointF(320, 200), QPointF(x - 9, 480), QPointF(x + 9, 480)}));
    }
    p.restore();
    Rng rng(31);
    for (int i = 0; i < 900; ++i) {
        const double t = rng.unit();
        const double y = 252 + t * t * 230;
        const double r = 1.5 + t * t * 9;
        p.setBrush(i % 3 ? QColor(255, 232, 70) : QColor(235, 190, 20));
        p.drawEllipse(QPointF(rng.range(0, 640), y), r, r * 0.8);
    }
    p.setBrush(QColor(160, 110, 60));
    p.drawRect(QRectF(500, 190, 8, 40));
    p.setBrush(QColor(60, 130, 50));
    p.drawEllipse(QPointF(504, 180), 26, 30);
    butterfly(p, QPointF(220, 300), 34, QColor(255, 255, 255));
    butterfly(p, QPointF(300, 260), 26, QColor(250, 140, 40));
    butterfly(p, QPointF(420, 330), 30, QColor(150, 110, 230));
    return c.take();
}

// Flying a kite: a tall page, mostly sky, with the child at the bottom.
QImage kiteFlying() {
    Canvas c(600, 900);
    QPainter& p = c.painter;
    sky(p, QRectF(0, 0, 600, 760), QColor(50, 120, 215), QColor(215, 235, 250));
    cloud(p, QPointF(150, 160), 200);
    cloud(p, QPointF(470, 420), 170, 85);
    cloud(p, QPointF(120, 560), 120, 75);
    bird(p, QPointF(420, 130), 26, QColor(40, 50, 70));
    bird(p, QPointF(460, 160), 18, QColor(40, 50, 70));
    hills(p, 0, 600, 690, 900, 30, 1.2, QColor(150, 185, 205), QColor(170, 200, 210));
    hills(p, 0, 600, 740, 900, 25, 0.5, QColor(120, 200, 100), QColor(80, 160, 60));
    flowerMeadow(p, QRectF(0, 790, 600, 100), 40, 8);
    grassTufts(p, QRectF(0, 760, 600, 140), 40, QColor(60, 140, 50), 6);
    roundTree(p, QPointF(500, 800), 230, kLeaf);
    // The string ends in the raised hand of person() (0.26 h right of and 0.95 h above the feet).
    kite(p, QPointF(380, 260), 110, QPointF(259, 737));
    person(p, QPointF(220, 880), 150, QColor(250, 200, 40), QColor(60, 90, 160), false, true);
    dog(p, QPointF(120, 870), 70, QColor(200, 150, 90));
    return c.take();
}

// From the hilltop: a wide panorama, larger than any window, with a village by the river.
QImage hilltop() {
    Canvas c(2400, 1600);
    QPainter& p = c.painter;
    sky(p, QRectF(0, 0, 2400, 900), QColor(70, 140, 220), QColor(236, 244, 250));
    sun(p, QPointF(1950, 230), 80, QColor(255, 200, 80), QColor(255, 240, 190));
    cloud(p, QPointF(400, 200), 420);
    cloud(p, QPointF(1200, 140), 320, 85);
    cloud(p, QPointF(1600, 330), 260, 75);
    hills(p, 0, 2400, 640, 1600, 160, 0.2, QColor(150, 170, 200), QColor(190, 205, 220));
    hills(p, 0, 2400, 760, 1600, 110, 1.9, QColor(120, 170, 150), QColor(150, 190, 160));
    hills(p, 0, 2400, 880, 1600, 60, 3.3, QColor(140, 200, 110), QColor(110, 180, 90));
    river(p, QPointF(1300, 870), QPointF(900, 1600), 40, 700, 260, QColor(70, 150, 210));
    // Terraced fields on the right slope.
    p.save();
    QPainterPath slope;  // keeps the terraces on the rounded shoulder of the hill
    slope.addEllipse(QPointF(2150, 1130), 700, 220);
    p.setClipPath(slope);
    for (int i = 0; i < 6; ++i) {
        QColor band = i % 2 ? QColor(170, 210, 90) : QColor(240, 215, 70);
        QPainterPath t;
        const double y = 960 + i * 55;
        t.moveTo(1400, y);
        t.cubicTo(1800, y - 30, 2100, y + 20, 2400, y - 10);
        t.lineTo(2400, y + 45);
        t.cubicTo(2100, y + 75, 1800, y + 25, 1400, y + 55);
        t.closeSubpath();
        p.fillPath(t, band);
    }
    p.restore();
    // The village on the left bank.
    const QColor roofs[] = {QColor(190, 70, 60), QColor(80, 90, 120), QColor(170, 90, 50)};
    for (int i = 0; i < 7; ++i)
        house(p, QPointF(250 + i * 110 + (i % 2) * 30, 1010 + (i % 3) * 35), 90 + (i % 3) * 14,
              QColor(245, 238, 220), roofs[i % 3]);
    for (int i = 0; i < 14; ++i) {
        const double x = 150 + i * 90;
        pineTree(p, QPointF(x, 930 + (i % 4) * 12), 90 + (i % 3) * 20, kDarkLeaf);
    }
    boat(p, QPointF(1140, 1180), 120);
    duck(p, QPointF(1010, 1300), 70, true, QColor(255, 255, 255));
    duck(p, QPointF(1100, 1340), 60, true, QColor(255, 255, 255));
    for (int i = 0; i < 6; ++i)
        bird(p, QPointF(700 + i * 60, 420 + (i % 3) * 30), 40 - i * 2, QColor(50, 60, 80));
    // Our hilltop in front, with the family looking out over the valley.
    hills(p, 0, 2400, 1420, 1600, 40, 5.0, QColor(110, 180, 80), QColor(70, 140, 50));
    flowerMeadow(p, QRectF(0, 1430, 2400, 160), 160, 12);
    grassTufts(p, QRectF(0, 1400, 2400, 200), 120, QColor(50, 120, 40), 13);
    roundTree(p, QPointF(2150, 1500), 420, kLeaf);
    blossomTree(p, QPointF(200, 1500), 380, 17);
    person(p, QPointF(1580, 1560), 220, QColor(60, 110, 200), QColor(50, 60, 90), false, false);
    person(p, QPointF(1660, 1560), 195, QColor(230, 110, 150), QColor(240, 200, 200), true, false);
    person(p, QPointF(1740, 1565), 130, QColor(250, 200, 40), QColor(60, 90, 160), false, true);
    return c.take();
}

// A picnic in the shade; a farm cat comes to see what is in the basket.
QImage picnic() {
    Canvas c(800, 600);
    QPainter& p = c.painter;
    sky(p, QRectF(0, 0, 800, 360), QColor(100, 165, 230), QColor(235, 245, 250));
    cloud(p, QPointF(560, 80), 180);
    hills(p, 0, 800, 300, 600, 30, 1.1, QColor(120, 195, 100), QColor(100, 175, 80));
    roundTree(p, QPointF(140, 430), 380, kLeaf);
    // A checked blanket in perspective.
    QPolygonF blanket({QPointF(260, 420), QPointF(620, 420), QPointF(700, 560), QPointF(200, 560)});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(blanket);
    p.save();
    p.setClipRegion(QRegion(blanket.toPolygon()));
    p.setBrush(QColor(220, 60, 60, 170));
    for (int i = 0; i < 8; ++i) {
        const double t0 = i / 8.0, t1 = (i + 0.5) / 8.0;
        QPolygonF stripe({QPointF(260 + 360 * t0, 420), QPointF(260 + 360 * t1, 420),
                          QPointF(200 + 500 * t1, 560), QPointF(200 + 500 * t0, 560)});
        p.drawPolygon(stripe);
    }
    for (int i = 0; i < 4; ++i) p.drawRect(QRectF(0, 420 + i * 35, 800, 17));
    p.restore();
    // Basket, fruit and a teapot.
    p.setPen(QPen(QColor(120, 80, 40), 3));
    p.setBrush(QColor(200, 150, 80));
    p.drawRoundedRect(QRectF(300, 440, 110, 60), 10, 10);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(315, 400, 80, 80), 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 40, 40));
    p.drawEllipse(QPointF(460, 480), 18, 17);
    p.drawEllipse(QPointF(490, 490), 16, 15);
    p.setBrush(QColor(255, 190, 40));
    p.drawEllipse(QPointF(480, 460), 16, 15);
    p.setBrush(QColor(250, 250, 245));
    p.drawEllipse(QRectF(530, 450, 60, 45));
    p.setBrush(QColor(60, 130, 170));
    p.drawEllipse(QRectF(547, 440, 26, 14));
    flowerMeadow(p, QRectF(0, 540, 800, 50), 40, 14);
    person(p, QPointF(330, 420), 130, QColor(250, 200, 40), QColor(60, 90, 160), false, true);
    person(p, QPointF(600, 430), 160, QColor(230, 110, 150), QColor(240, 200, 200), true, false);
    cat(p, QPointF(700, 520), 90, QColor(240, 160, 70));
    butterfly(p, QPointF(660, 330), 24, QColor(255, 230, 60));
    return c.take();
}

// Going home at sunset: dark figures against an orange sky. This page has no text.
QImage sunset() {
    Canvas c(1024, 680);
    QPainter& p = c.painter;
    QLinearGradient g(0, 0, 0, 520);
    g.setColorAt(0, QColor(60, 70, 140));
    g.setColorAt(0.45, QColor(230, 120, 90));
    g.setColorAt(1, QColor(255, 210, 120));
    p.fillRect(QRectF(0, 0, 1024, 520), g);
    sun(p, QPointF(680, 490), 60, QColor(255, 140, 50), QColor(255, 200, 120));
    hills(p, 0, 1024, 470, 680, 40, 1.6, QColor(120, 80, 110), QColor(110, 70, 100));
    hills(p, 0, 1024, 560, 680, 20, 3.1, QColor(60, 45, 60), QColor(40, 30, 40));
    // Everything near is drawn in full colour on a layer of its own and then flattened to one
    // dusk colour, which turns it into a silhouette against the sky.
    const QColor dusk(35, 28, 40);
    QImage layer(c.image.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        house(lp, QPointF(170, 590), 170, dusk, dusk);
        roundTree(lp, QPointF(900, 600), 220, dusk);
        person(lp, QPointF(430, 640), 140, dusk, dusk, false, false);
        person(lp, QPointF(485, 640), 125, dusk, dusk, true, false);
        person(lp, QPointF(530, 645), 85, dusk, dusk, false, true);
        dog(lp, QPointF(590, 648), 50, dusk);
        for (int i = 0; i < 5; ++i) bird(lp, QPointF(300 + i * 45, 170 + (i % 2) * 25), 24, dusk);
        lp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        lp.fillRect(layer.rect(), dusk);
    }
    p.drawImage(0, 0, layer);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 110));
    p.drawRect(QRectF(107, 507, 26, 22));  // a lamp is already lit at home
    return c.take();
}

}  // namespace

QList<BookPage> samplePages() {
    return {
        {QStringLiteral("spring1.jpg"), QStringLiteral("spring1.rtf"), departure()},
        {QStringLiteral("spring2.bmp"), QStringLiteral("spring2.rtf"), stream()},
        {QStringLiteral("spring3.gif"), QStringLiteral("spring3.rtf"), rapeseed()},
        {QStringLiteral("spring4.jpeg"), QStringLiteral("spring4.txt"), kiteFlying()},
        {QStringLiteral("spring5.jpg"), QStringLiteral("spring5.rtf"), hilltop()},
        {QStringLiteral("spring6.jpg"), QStringLiteral("spring6.rtf"), picnic()},
        {QStringLiteral("spring7.jpg"), QString(), sunset()},
    };
}

}  // namespace bookgen
