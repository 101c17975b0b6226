#include "picture.h"

#include "twips.h"
#include "vector_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace platform {

Picture::Picture(QImage image) : image_(std::move(image)) {}

Picture::Picture(std::shared_ptr<const VectorPicture> vector) : vector_(std::move(vector)) {}

QSizeF Picture::naturalSize() const {
    if (vector_) return vector_->naturalTwips();
    if (image_.isNull()) return {0.0, 0.0};
    const float tpp = twipsPerPixel();
    return {image_.width() * static_cast<double>(tpp), image_.height() * static_cast<double>(tpp)};
}

void Picture::paint(QPainter& painter, const QRectF& target, const QRectF& exposed) const {
    if (target.isEmpty()) return;
    if (vector_) {
        vector_->paint(painter, target, exposed);
        return;
    }
    if (image_.isNull()) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image_);
}

PictureLoad loadPicture(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {{}, QStringLiteral("文件不存在")};
    if (!info.isFile()) return {{}, QStringLiteral("不是文件")};

    // Metafiles are told by their content, whatever the file is called.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.peek(64);
        if (looksLikeMetafile(head)) {
            if (file.size() > kMaxMetafileBytes) return {{}, QStringLiteral("图像过大")};
            return decodeMetafile(file.readAll());
        }
    }

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
