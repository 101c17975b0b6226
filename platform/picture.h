#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;

namespace platform {

class VectorPicture;

// A picture as the image control and the printer hold it: a shared, read-only source with a
// natural size in twips, raster pixels or a metafile behind it. Copies share the source.
class Picture {
  public:
    Picture() = default;
    explicit Picture(QImage image);
    explicit Picture(std::shared_ptr<const VectorPicture> vector);

    bool isNull() const { return image_.isNull() && !vector_; }
    bool isVector() const { return vector_ != nullptr; }
    // Natural size: for pixels, their number times the screen's twips per pixel; for a
    // metafile, the size it records.
    QSizeF naturalSize() const;
    // The one way a picture is drawn: scaled to fill `target`. Only `exposed` (painter
    // coordinates; empty means all of `target`) needs drawing, so a deep zoom costs no more than
    // the part on screen. A metafile is drawn at the size shown, from a kept rendering when the
    // size has not changed.
    void paint(QPainter& painter, const QRectF& target, const QRectF& exposed = {}) const;
    // The pixels of a raster picture; null for a metafile.
    const QImage& image() const { return image_; }

  private:
    QImage image_;
    std::shared_ptr<const VectorPicture> vector_;
};

// Pictures beyond this many pixels on a side are refused like corrupt files, so a hostile file
// cannot make the decoder exhaust memory.
inline constexpr int kMaxPictureSide = 16384;
// Metafiles larger than this are not read.
inline constexpr qint64 kMaxMetafileBytes = 64LL * 1024 * 1024;

struct PictureLoad {
    Picture picture;
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Loads wmf and emf (told by their content), bmp, gif (first frame), jpg, jpeg, ico and what else
// Qt reads, EXIF orientation applied.
PictureLoad loadPicture(const QString& path);

}  // namespace platform
