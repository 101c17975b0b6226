#include "title_art.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <vector>

#include "paint_kit.h"

namespace bookgen {

namespace {

// Pages of an open book seen from slightly above, spine at the bottom centre.
void openBook(QPainter& p, QPointF spine, double w, double h) {
    p.save();
    p.setPen(Qt::NoPen);
    QPainterPath shadow;
    shadow.addEllipse(QRectF(spine.x() - w * 0.56, spine.y() - h * 0.1, w * 1.12, h * 0.28));
    p.fillPath(shadow, QColor(30, 60, 20, 70));

    QPainterPath cover;  // the cover shows as a rim under the pages
    cover.moveTo(spine + QPointF(-w * 0.52, -h * 0.78));
    cover.quadTo(spine + QPointF(-w * 0.25, -h * 0.9), spine + QPointF(0, -h * 0.8));
    cover.quadTo(spine + QPointF(w * 0.25, -h * 0.9), spine + QPointF(w * 0.52, -h * 0.78));
    cover.lineTo(spine + QPointF(w * 0.52, h * 0.05));
    cover.quadTo(spine + QPointF(w * 0.25, -h * 0.04), spine + QPointF(0, h * 0.1));
    cover.quadTo(spine + QPointF(-w * 0.25, -h * 0.04), spine + QPointF(-w * 0.52, h * 0.05));
    cover.closeSubpath();
    p.fillPath(cover, QColor(150, 40, 40));

    for (double side : {-1.0, 1.0}) {
        QPainterPath page;
        page.moveTo(spine + QPointF(0, -h * 0.82));
        page.quadTo(spine + QPointF(side * w * 0.25, -h * 0.95),
                    spine + QPointF(side * w * 0.49, -h * 0.84));
        page.lineTo(spine + QPointF(side * w * 0.49, -h * 0.02));
        page.quadTo(spine + QPointF(side * w * 0.25, -h * 0.12), spine + QPointF(0, h * 0.02));
        page.closeSubpath();
        QLinearGradient g(spine, spine + QPointF(side * w * 0.5, 0));
        g.setColorAt(0, QColor(214, 204, 178));
        g.setColorAt(0.12, QColor(252, 248, 236));
        g.setColorAt(1, QColor(240, 232, 212));
        p.fillPath(page, g);
        p.setPen(QPen(QColor(170, 150, 120), 1.2));
        p.drawPath(page);
        p.setPen(Qt::NoPen);
    }

    // Left page: a little painted picture; right page: lines of text.
    const QRectF pic(spine.x() - w * 0.42, spine.y() - h * 0.74, w * 0.33, h * 0.4);
    p.save();
    p.setClipRect(pic);
    kit::sky(p, pic, QColor(120, 180, 240), QColor(220, 240, 255));
    kit::sun(p, pic.topRight() + QPointF(-pic.width() * 0.2, pic.height() * 0.3),
             pic.height() * 0.1, QColor(255, 200, 60), QColor(255, 230, 150));
    kit::hills(p, pic.left(), pic.right(), pic.bottom() - pic.height() * 0.25, pic.bottom(),
               pic.height() * 0.15, 1.0, QColor(110, 190, 90), QColor(60, 140, 60));
    kit::roundTree(p, QPointF(pic.left() + pic.width() * 0.3, pic.bottom() - pic.height() * 0.08),
                   pic.height() * 0.55, QColor(70, 150, 60));
    p.restore();
    p.setPen(QPen(QColor(150, 120, 90), 1));
    p.drawRect(pic);
    p.setPen(QPen(QColor(120, 110, 100), h * 0.025, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i) {
        const double y = spine.y() - h * (0.7 - i * 0.12);
        const double right = spine.x() + w * (i == 4 ? 0.28 : 0.42);
        p.drawLine(QPointF(spine.x() + w * 0.09, y), QPointF(right, y));
    }
    p.restore();
}

void title(QPainter& p, const QRectF& box) {
    QPainterPath text;
    const QFont font = cjkFont(int(box.height() * 0.62), true, QFont::Black);
    const QString words = QStringLiteral("澜舟画本");
    const QFontMetricsF fm(font);
    const double x = box.center().x() - fm.horizontalAdvance(words) / 2;
    text.addText(QPointF(x, box.top() + fm.ascent()), font, words);

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(3, 4);
    p.fillPath(text, QColor(20, 40, 80, 90));  // soft drop shadow
    p.translate(-3, -4);
    p.setPen(QPen(QColor(255, 255, 255), box.height() * 0.06, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(text);
    QLinearGradient g(0, box.top(), 0, box.top() + fm.height());
    g.setColorAt(0, QColor(200, 40, 40));
    g.setColorAt(1, QColor(150, 20, 60));
    p.fillPath(text, g);

    const QFont small = cjkFont(int(box.height() * 0.2), false, QFont::Medium);
    p.setFont(small);
    p.setPen(QColor(40, 70, 120));
    const QRectF sub(box.left(), box.top() + fm.height() * 0.98, box.width(), box.height() * 0.3);
    p.drawText(sub, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("编 排 阅 读  2002"));
    p.restore();
}

}  // namespace

QFont cjkFont(int pixelSize, bool serif, QFont::Weight weight) {
    QFont font;
    QStringList families = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                            QStringLiteral("SimSun")};
    if (serif) families.prepend(QStringLiteral("Noto Serif CJK SC"));
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage startupPicture() {
    QImage img(734, 488, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double W = img.width(), H = img.height();

    kit::sky(p, QRectF(0, 0, W, H * 0.7), QColor(72, 142, 222), QColor(226, 240, 252));
    kit::sun(p, QPointF(W * 0.86, H * 0.16), 30, QColor(255, 196, 60), QColor(255, 236, 170));
    kit::cloud(p, QPointF(W * 0.14, H * 0.12), 130);
    kit::cloud(p, QPointF(W * 0.62, H * 0.09), 100, 85);
    kit::bird(p, QPointF(W * 0.3, H * 0.24), 18, QColor(50, 60, 80));
    kit::bird(p, QPointF(W * 0.34, H * 0.2), 13, QColor(50, 60, 80));
    kit::bird(p, QPointF(W * 0.37, H * 0.26), 10, QColor(50, 60, 80));

    kit::hills(p, 0, W, H * 0.5, H, H * 0.07, 0.4, QColor(150, 180, 200), QColor(180, 205, 215));
    kit::hills(p, 0, W, H * 0.58, H, H * 0.06, 2.2, QColor(120, 190, 110), QColor(90, 160, 80));
    // The river in front of the far hills, where the boat of the title sails.
    QRectF water(0, H * 0.62, W, H * 0.1);
    kit::sky(p, water, QColor(120, 180, 230), QColor(80, 150, 210));
    kit::waterRipples(p, water, 40, 11);
    kit::boat(p, QPointF(W * 0.225, H * 0.685), 64);
    kit::hills(p, 0, W, H * 0.76, H, H * 0.04, 4.0, QColor(130, 205, 100), QColor(70, 150, 60));

    kit::willow(p, QPointF(W * 0.035, H * 0.86), 200);
    kit::blossomTree(p, QPointF(W * 0.9, H * 0.86), 190, 5);
    kit::roundTree(p, QPointF(W * 0.76, H * 0.72), 90, QColor(60, 150, 70));
    kit::flowerMeadow(p, QRectF(0, H * 0.82, W, H * 0.16), 60, 3);
    kit::grassTufts(p, QRectF(0, H * 0.8, W, H * 0.2), 50, QColor(60, 130, 50), 9);

    openBook(p, QPointF(W * 0.5, H * 0.93), 330, 170);
    title(p, QRectF(W * 0.2, H * 0.07, W * 0.6, 130));
    p.end();
    return img;
}

namespace {

// One filled or stroked outline of the icon, in the 32 x 32 design grid.
struct IconShape {
    QPainterPath path;
    QColor fill;    // invalid: not filled
    QColor stroke;  // invalid: not stroked
    double strokeWidth = 0.0;
};

// The window icon as outlines, so the bitmaps and the SVG draw the same book. `lines` is the
// number of text lines on the right page.
std::vector<IconShape> iconShapes(int lines, double gap) {
    std::vector<IconShape> shapes;
    // Red cover under two pages that rise from the spine.
    QPainterPath cover;
    cover.moveTo(1, 9);
    cover.lineTo(16, 11);
    cover.lineTo(31, 9);
    cover.lineTo(31, 27);
    cover.lineTo(16, 30);
    cover.lineTo(1, 27);
    cover.closeSubpath();
    shapes.push_back({cover, QColor(176, 32, 32), {}, 0});
    for (double side : {-1.0, 1.0}) {
        QPainterPath page;
        page.moveTo(16, 9);
        page.quadTo(16 + side * 7, 4, 16 + side * 14, 6);
        page.lineTo(16 + side * 14, 25);
        page.quadTo(16 + side * 7, 23, 16, 28);
        page.closeSubpath();
        shapes.push_back({page, QColor(255, 255, 240), QColor(96, 64, 32), 1.0});
    }
    // A tiny picture on the left page, text lines on the right.
    const auto rect = [&shapes](const QRectF& r, const QColor& c) {
        QPainterPath p;
        p.addRect(r);
        shapes.push_back({p, c, {}, 0});
    };
    rect(QRectF(5, 10, 8, 6), QColor(96, 176, 240));
    rect(QRectF(5, 14, 8, 3), QColor(64, 160, 64));
    rect(QRectF(10, 11, 2, 2), QColor(255, 200, 0));
    for (int i = 0; i < lines; ++i) {
        QPainterPath line;
        line.moveTo(19, 12 + i * gap);
        line.lineTo(28, 12 + i * gap);
        shapes.push_back({line, {}, QColor(64, 64, 128), 1.2});
    }
    return shapes;
}

QString svgPathData(const QPainterPath& path) {
    QString d;
    const auto num = [](double v) { return QString::number(v, 'g', 6); };
    QPointF start;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            start = QPointF(e.x, e.y);
            d += QStringLiteral("M%1 %2 ").arg(num(e.x), num(e.y));
        } else if (e.isLineTo() && QPointF(e.x, e.y) == start && i > 1) {
            d += QStringLiteral("Z ");  // a closed outline joins at its start too
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2 ").arg(num(e.x), num(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element to = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6 ")
                     .arg(num(e.x), num(e.y), num(c2.x), num(c2.y), num(to.x), num(to.y));
            i += 2;
        }
    }
    return d.trimmed();
}

}  // namespace

QImage windowIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, size > 16);
    p.scale(size / 32.0, size / 32.0);
    // At 16 pixels four lines would run together; three whole-pixel lines stay apart.
    for (const IconShape& s : size > 16 ? iconShapes(4, 3.5) : iconShapes(3, 4.0)) {
        if (s.fill.isValid()) p.fillPath(s.path, s.fill);
        if (s.stroke.isValid()) p.strokePath(s.path, QPen(s.stroke, s.strokeWidth));
    }
    p.end();
    return img;
}

QByteArray windowIconSvg() {
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
        "viewBox=\"0 0 32 32\">\n");
    for (const IconShape& s : iconShapes(4, 3.5)) {
        const QString fill = s.fill.isValid() ? s.fill.name() : QStringLiteral("none");
        QString stroke = QStringLiteral(" stroke=\"none\"");
        if (s.stroke.isValid())
            stroke = QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"")
                         .arg(s.stroke.name(), QString::number(s.strokeWidth));
        svg += QStringLiteral("  <path d=\"%1\" fill=\"%2\"%3/>\n")
                   .arg(svgPathData(s.path), fill, stroke);
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

}  // namespace bookgen
