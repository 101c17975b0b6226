#include "metafile.h"

#include "byte_reader.h"
#include "fonts/font_substitutes.h"
#include "records.h"

#include <QPicture>

namespace metafile {

struct Metafile::Data {
    Format format = Format::Unknown;
    QByteArray bytes;
    EmfHeader emf;
    WmfHeader wmf;
    QSizeF twips;
};

namespace {

constexpr double kTwipsPerHmm = 1440.0 / 2540.0;
constexpr double kTwipsPerPixel = 15.0;  // logical units of a plain WMF count as screen pixels

// What a plain WMF without a window draws, in its own units.
QRectF drawnBounds(const QByteArray& bytes, const WmfHeader& header) {
    QPicture picture;
    QPainter painter(&picture);
    const QRectF identity(-32768, -32768, 65536, 65536);
    Budget budget;
    {
        Player player(painter, identity, budget, nullptr);
        WmfHeader h = header;
        h.frame = identity;
        playWmf(bytes, h, player);
    }
    painter.end();
    return QRectF(picture.boundingRect());
}

}  // namespace

Format sniff(QByteArrayView bytes) {
    ByteReader r(bytes);
    const uint32_t first = r.u32();
    if (!r.ok()) return Format::Unknown;
    if (first == 0x9AC6CDD7) return Format::Wmf;
    if (first == uint32_t(EmfRecord::Header)) {
        r.seek(40);
        if (r.u32() == 0x464D4520 && r.ok()) return Format::Emf;
    }
    r.seek(0);
    const uint16_t type = r.u16(), words = r.u16(), version = r.u16();
    if (r.ok() && (type == 1 || type == 2) && words == 9 &&
        (version == 0x0300 || version == 0x0100))
        return Format::Wmf;
    return Format::Unknown;
}

Metafile Metafile::fromData(QByteArray bytes) {
    auto d = std::make_shared<Data>();
    d->format = sniff(bytes);
    if (d->format == Format::Emf) {
        if (!readEmfHeader(bytes, d->emf)) return {};
        d->twips = d->emf.frameHmm.size() * kTwipsPerHmm;
    } else if (d->format == Format::Wmf) {
        if (!readWmfHeader(bytes, d->wmf)) return {};
        if (d->wmf.placeable) {
            d->twips = d->wmf.frame.size() * (1440.0 / d->wmf.unitsPerInch);
        } else {
            if (d->wmf.frame.isEmpty()) d->wmf.frame = drawnBounds(bytes, d->wmf);
            if (d->wmf.frame.isEmpty()) return {};
            d->twips = d->wmf.frame.size() * kTwipsPerPixel;
        }
    } else {
        return {};
    }
    if (!(d->twips.width() > 0 && d->twips.height() > 0)) return {};
    d->bytes = std::move(bytes);
    Metafile m;
    m.d_ = std::move(d);
    return m;
}

Format Metafile::format() const {
    return d_ ? d_->format : Format::Unknown;
}

QSizeF Metafile::sizeTwips() const {
    return d_ ? d_->twips : QSizeF();
}

void Metafile::play(QPainter& painter, const QRectF& target, QList<TextRun>* texts) const {
    if (!d_ || !target.isValid() || !painter.isActive()) return;
    fonts::installFontSubstitutes();
    Budget budget;
    Player player(painter, target, budget, texts);
    if (d_->format == Format::Emf) {
        playEmf(d_->bytes, d_->emf, player);
    } else if (!d_->wmf.embeddedEmf.isEmpty()) {
        // The EMF a writer put beside the WMF records says the same more exactly.
        EmfHeader header;
        if (readEmfHeader(d_->wmf.embeddedEmf, header))
            playEmf(d_->wmf.embeddedEmf, header, player);
    } else {
        playWmf(d_->bytes, d_->wmf, player);
    }
}

}  // namespace metafile
