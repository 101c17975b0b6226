#include "picture.h"

#include "twips.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace platform {

Picture::Picture(QImage image) : image_(std::move(image)) {}

QSizeF Picture::naturalSize() const {
    if (image_.isNull()) return {0.0, 0.0};
    const float tpp = twipsPerPixel();
    return {image_.width() * static_cast<double>(tpp), image_.height() * static_cast<double>(tpp)};
}

void Picture::paint(QPainter& painter, const QRectF& target) const {
    if (image_.isNull() || target.isEmpty()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image_);
}

PictureLoad loadPicture(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {{}, QStringLiteral("文件不存在")};
    if (!info.isFile()) return {{}, QStringLiteral("不是文件")};

    // Qt's own allocation cap (256 MB) would refuse large but legitimate photos; ours is the
    // side limit above, which bounds a decoded picture at 1 GB.
    static const bool limitSet = [] {
        QImageReader::setAllocationLimit(1024);
        return true;
    }();
    Q_UNUSED(limitSet);
    QImageReader reader(path);
    reader.setAutoTransform(true);  // phone photos carry their orientation in EXIF
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide))
        return {{}, QStringLiteral("图像过大")};

    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {{}, QStringLiteral("无法读取图像：%1").arg(reader.errorString())};
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide)
        return {{}, QStringLiteral("图像过大")};
    return {Picture(std::move(image)), {}};
}

}  // namespace platform
