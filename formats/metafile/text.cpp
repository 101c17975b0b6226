#include "player.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QStringDecoder>

#include <cmath>

namespace metafile {

QString decodeAnsi(QByteArrayView bytes, int charset) {
    const char* codec = nullptr;
    switch (charset) {
        case 0:
            codec = "windows-1252";
            break;  // ANSI_CHARSET
        case 2:
            return QString::fromLatin1(bytes);  // SYMBOL_CHARSET: glyph numbers
        case 128:
            codec = "Shift_JIS";
            break;
        case 129:
            codec = "windows-949";
            break;
        case 136:
            codec = "Big5";
            break;
        case 161:
            codec = "windows-1253";
            break;
        case 162:
            codec = "windows-1254";
            break;
        case 177:
            codec = "windows-1255";
            break;
        case 178:
            codec = "windows-1256";
            break;
        case 186:
            codec = "windows-1257";
            break;
        case 204:
            codec = "windows-1251";
            break;
        case 222:
            codec = "windows-874";
            break;
        case 238:
            codec = "windows-1250";
            break;
        case 255:
            codec = "IBM437";
            break;
        case 134:
            codec = "GB18030";
            break;
        default: {
            // DEFAULT_CHARSET and the rest mean the system's code page: 936 where the books were
            // made. Text that is not valid there was written elsewhere, most likely in 1252.
            QStringDecoder gbk("GB18030", QStringDecoder::Flag::Stateless);
            const QString s = gbk.decode(bytes);
            if (!gbk.hasError()) return s;
            codec = "windows-1252";
        }
    }
    QStringDecoder decoder(codec);
    if (!decoder.isValid()) return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

namespace {

// Windows faces that fontconfig does not alias on every system.
QString familyFor(const QString& face) {
    if (face.isEmpty()) return QStringLiteral("Arial");
    return face;
}

}  // namespace

void Player::text(QPointF reference, const QString& s, const QList<double>& dx, uint32_t options,
                  const QRectF& rect) {
    const bool updateCp = dc_.textAlign & 1;
    if (updateCp) reference = dc_.current;
    const QTransform m = full();
    const QPointF origin = m.map(reference);
    if (texts_ && !s.isEmpty()) texts_->append({s, reference, origin});

    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setTransform(m);
    if ((options & 0x02) && !rect.isNull())  // ETO_OPAQUE
        painter_.fillRect(rect.normalized(), dc_.bkColor);
    if (s.isEmpty()) return;
    painter_.save();
    if ((options & 0x04) && !rect.isNull())
        painter_.setClipRect(rect.normalized(), Qt::IntersectClip);

    const FontSpec& f = dc_.font;
    const double sx = std::hypot(m.m11(), m.m12()), sy = std::hypot(m.m21(), m.m22());
    QFont font(familyFor(f.face));
    const double dpi = painter_.device() ? painter_.device()->logicalDpiY() : 96.0;
    double px = std::abs(f.height) * sy;
    if (f.height == 0) px = 12 * sy;
    if (f.height > 0) {  // cell height: the em is the cell less the internal leading
        QFont probe(font);
        probe.setPointSizeF(100 * 72 / dpi);
        const QFontMetricsF fm(probe, painter_.device());
        if (fm.height() > 0) px *= 100 / fm.height();
    }
    px = std::clamp(px, 0.05, 20000.0);
    font.setPointSizeF(px * 72 / dpi);
    font.setWeight(QFont::Weight(std::clamp(f.weight ? f.weight : 400, 1, 1000)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    if (sy > 0 && std::abs(sx / sy - 1) > 0.01)
        font.setStretch(std::clamp(int(std::lround(100 * sx / sy)), 1, 4000));
    const QFontMetricsF fm(font, painter_.device());

    // Advances on the baseline, in target pixels.
    QList<double> advances;
    double width = 0;
    if (!dx.isEmpty()) {
        for (double d : dx) advances.append(d * sx);
        for (double a : advances) width += a;
    } else {
        width = fm.horizontalAdvance(s);
    }
    double x = 0;
    switch (dc_.textAlign & 6) {
        case 6:
            x = -width / 2;
            break;  // TA_CENTER
        case 2:
            x = -width;
            break;  // TA_RIGHT
        default:
            break;
    }
    double y = fm.ascent();  // TA_TOP
    if ((dc_.textAlign & 24) == 24)
        y = 0;  // TA_BASELINE
    else if (dc_.textAlign & 8)
        y = -fm.descent();  // TA_BOTTOM

    QTransform t = base_;
    t.translate(origin.x(), origin.y());
    // Escapement is counter-clockwise on the device, whatever the logical axes do.
    t.rotate(-double(f.escapement) / 10.0);
    painter_.setTransform(t);
    painter_.setFont(font);
    if (dc_.bkMode == 2 && !(options & 0x02))
        painter_.fillRect(QRectF(x, y - fm.ascent(), width, fm.height()), dc_.bkColor);
    painter_.setPen(dc_.textColor);
    if (advances.isEmpty()) {
        painter_.drawText(QPointF(x, y), s);
    } else {
        qsizetype a = 0;
        for (qsizetype i = 0; i < s.size() && a < advances.size(); ++i, ++a) {
            const qsizetype n = s[i].isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
            painter_.drawText(QPointF(x, y), s.mid(i, n));
            x += advances[a];
            i += n - 1;
        }
    }
    painter_.restore();
    if (updateCp) {
        const double advanceLogical = sx > 0 ? width / sx : 0;
        dc_.current = reference + QPointF(advanceLogical, 0);
    }
}

}  // namespace metafile
