// Any bytes parse as a WMF or EMF or are refused, and any parsed file plays onto a picture within
// the work caps, without crashing, hanging or unbounded memory. Seeds: the metafile corpus.
#include "metafile/metafile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Fonts need an application object; one serves every input.
    static int argc = 1;
    static char name[] = "metafile_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
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
