#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

class QPainter;

namespace platform {

// A picture as the image control holds it: something to draw and a natural size in twips.
class Picture {
  public:
    Picture() = default;
    // `naturalPixels` is the size the file declares when `image` was decoded smaller than that;
    // empty means the image's own size.
    explicit Picture(QImage image, QSize naturalPixels = {});

    bool isNull() const { return image_.isNull(); }
    // Natural size: pixels times the screen's twips per pixel.
    QSizeF naturalSize() const;
    void paint(QPainter& painter, const QRectF& target) const;
    const QImage& image() const { return image_; }

  private:
    QImage image_;
    QSize naturalPixels_;
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
// a book holds: bmp, gif (first frame), jpeg, ico, or png; nothing that can refer to other files.
// EXIF orientation is applied.
PictureLoad decodePicture(const QByteArray& bytes);

// Reads the file by the book's file rules, then decodes it as above.
PictureLoad loadPicture(const QString& path);

}  // namespace platform
