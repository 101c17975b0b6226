#pragma once

#include <QByteArray>
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
    // `naturalPixels` is the size the file declares when `image` was decoded smaller than that;
    // empty means the image's own size.
    explicit Picture(QImage image, QSize naturalPixels = {});
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
    QSize naturalPixels_;
    std::shared_ptr<const VectorPicture> vector_;
};

// Pictures beyond this many pixels on a side are refused like corrupt files, so a hostile file
// cannot make the decoder exhaust memory.
inline constexpr int kMaxPictureSide = 16384;
// Larger pictures are decoded scaled down to about this many pixels: far more than any screen
// shows, and a quarter of the memory a full 16384-pixel square would take.
inline constexpr qint64 kMaxDecodedPixels = 32LL * 1024 * 1024;
// Picture files larger than this are not read.
inline constexpr qint64 kMaxPictureBytes = 64LL * 1024 * 1024;

struct PictureLoad {
    Picture picture;
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Decodes a book picture from its bytes. The format is told by the content alone and must be one
// a book holds: wmf, emf, bmp, gif (first frame), jpeg, ico, or png; nothing that can refer to
// other files. EXIF orientation is applied.
PictureLoad decodePicture(const QByteArray& bytes);

// Reads the file by the book's file rules, then decodes it as above.
PictureLoad loadPicture(const QString& path);

}  // namespace platform
