// Pictures of the document as \pict groups: the image resource as PNG, or as the JPEG file when
// the document holds one, at the size the text shows it.
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include "rtf/rtf_writer_body.h"

namespace rtf {

namespace {

struct PictureData {
    QByteArray bytes;
    const char* kind = "pngblip";
    QSize pixels;
};

QByteArray pngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return png;
}

PictureData pictureData(const QVariant& resource) {
    PictureData d;
    QImage image;
    if (resource.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = resource.toByteArray();
        const bool jpeg = bytes.startsWith("\xFF\xD8\xFF");
        const bool png = bytes.startsWith("\x89PNG\r\n\x1A\n");
        if (jpeg || png) {
            // The file as it is: a JPEG is not decoded and encoded again.
            QBuffer buffer;
            buffer.setData(bytes);
            d.pixels = QImageReader(&buffer, jpeg ? "jpeg" : "png").size();
            d.bytes = bytes;
            d.kind = jpeg ? "jpegblip" : "pngblip";
            return d;
        }
        image = QImage::fromData(bytes);
    } else if (resource.typeId() == QMetaType::QImage) {
        image = resource.value<QImage>();
    } else if (resource.typeId() == QMetaType::QPixmap) {
        image = resource.value<QPixmap>().toImage();
    }
    if (image.isNull()) return d;
    d.bytes = pngOf(image);
    d.pixels = image.size();
    return d;
}

}  // namespace

void BodyWriter::writePicture(const QTextImageFormat& format) {
    const PictureData d =
        pictureData(doc_.resource(QTextDocument::ImageResource, QUrl(format.name())));
    if (d.bytes.isEmpty() || d.pixels.isEmpty()) return;  // nothing to show: nothing written
    // The size the text shows, in pixels at 96 per inch; a missing side keeps the proportions.
    QSizeF shown(format.width(), format.height());
    if (shown.width() <= 0 && shown.height() <= 0)
        shown = d.pixels;
    else if (shown.width() <= 0)
        shown.setWidth(shown.height() * d.pixels.width() / d.pixels.height());
    else if (shown.height() <= 0)
        shown.setHeight(shown.width() * d.pixels.height() / d.pixels.width());
    out_.open();
    out_.word("pict");
    out_.word(d.kind);
    out_.word("picw", d.pixels.width());
    out_.word("pich", d.pixels.height());
    out_.word("picwgoal", qRound(shown.width() * 15));
    out_.word("pichgoal", qRound(shown.height() * 15));
    out_.hex(d.bytes);
    out_.close();
}

}  // namespace rtf
