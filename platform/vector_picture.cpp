#include "vector_picture.h"

#include "picture.h"

#include "metafile/metafile.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>
#include <mutex>

namespace platform {
namespace {

// A rendering of the whole picture is kept up to this many pixels (64 MB); a larger zoom renders
// only the part that is exposed.
constexpr qint64 kMaxCachedPixels = 16LL * 1024 * 1024;

}  // namespace

struct VectorPicture::Data {
    metafile::Metafile file;
    mutable std::mutex mutex;
    mutable QImage cache;  // the whole picture at `cacheSize` device pixels
    mutable QSize cacheSize;
};

VectorPicture::VectorPicture() : d_(std::make_unique<Data>()) {}
VectorPicture::~VectorPicture() = default;

std::shared_ptr<VectorPicture> VectorPicture::fromData(const QByteArray& bytes) {
    metafile::Metafile file = metafile::Metafile::fromData(bytes);
    if (file.isNull()) return nullptr;
    std::shared_ptr<VectorPicture> picture(new VectorPicture);
    picture->d_->file = std::move(file);
    return picture;
}

QSizeF VectorPicture::naturalTwips() const {
    return d_->file.sizeTwips();
}

void VectorPicture::paint(QPainter& painter, const QRectF& target, const QRectF& exposed) const {
    const QTransform device = painter.deviceTransform();
    const QPaintDevice* surface = painter.device();
    const bool raster = surface && (surface->devType() == QInternal::Image ||
                                    surface->devType() == QInternal::Pixmap ||
                                    surface->devType() == QInternal::Widget);
    // Printers, PDF and rotated painters get the records themselves: exact at any resolution.
    if (!raster || device.isRotating()) {
        d_->file.play(painter, target);
        return;
    }
    const QRectF shown = device.mapRect(target);
    const QSize size(qMax(1, qRound(shown.width())), qMax(1, qRound(shown.height())));
    std::lock_guard lock(d_->mutex);
    if (qint64(size.width()) * size.height() <= kMaxCachedPixels) {
        if (d_->cacheSize != size || d_->cache.isNull()) {
            QImage image(size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            d_->file.play(p, QRectF(QPointF(0, 0), QSizeF(size)));
            p.end();
            d_->cache = std::move(image);
            d_->cacheSize = size;
        }
        painter.drawImage(target, d_->cache);
        return;
    }
    // Deeply zoomed: render just the exposed part, at the resolution shown.
    const QRectF part = (exposed.isEmpty() ? target : exposed).intersected(target);
    if (part.isEmpty()) return;
    const double sx = shown.width() / target.width(), sy = shown.height() / target.height();
    const QSize partSize(qMax(1, int(std::ceil(part.width() * sx))),
                         qMax(1, int(std::ceil(part.height() * sy))));
    if (qint64(partSize.width()) * partSize.height() > kMaxCachedPixels) return;
    QImage image(partSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(sx, sy);
    p.translate(-part.topLeft());
    d_->file.play(p, target);
    p.end();
    painter.drawImage(part, image);
}

bool looksLikeMetafile(const QByteArray& bytes) {
    return metafile::sniff(bytes) != metafile::Format::Unknown;
}

PictureLoad decodeMetafile(const QByteArray& bytes) {
    std::shared_ptr<VectorPicture> vector = VectorPicture::fromData(bytes);
    if (!vector) return {{}, QStringLiteral("无法读取图元文件")};
    return {Picture(std::move(vector)), {}};
}

}  // namespace platform
