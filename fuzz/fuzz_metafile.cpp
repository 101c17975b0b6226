// Any bytes parse as a WMF or EMF or are refused, and any parsed file plays onto a picture within
// the work caps, without crashing, hanging or unbounded memory. Seeds: the metafile corpus.
#include "fuzz_app.h"
#include "metafile/metafile.h"

#include <QImage>
#include <QPainter>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ensureApplication();
    const QByteArray bytes = fuzz::bytes(data, size).toByteArray();
    const metafile::Metafile picture = metafile::Metafile::fromData(bytes);
    if (picture.isNull()) return 0;
    if (picture.format() != metafile::sniff(bytes)) std::abort();
    const QSizeF twips = picture.sizeTwips();
    if (!(twips.width() > 0 && twips.height() > 0)) std::abort();
    QImage image(48, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QList<metafile::TextRun> texts;
    picture.play(painter, QRectF(2, 2, 44, 28), &texts);
    return 0;
}
