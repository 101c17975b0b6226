#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

class QPainter;

namespace platform {

// A picture as the image control holds it: something to draw and a natural size in twips.
class Picture {
  public:
    Picture() = default;
    explicit Picture(QImage image);

    bool isNull() const { return image_.isNull(); }
    // Natural size: pixels times the screen's twips per pixel.
    QSizeF naturalSize() const;
    void paint(QPainter& painter, const QRectF& target) const;
    const QImage& image() const { return image_; }

  private:
    QImage image_;
};

// Pictures beyond this many pixels on a side are refused like corrupt files, so a hostile file
// cannot make the decoder exhaust memory.
inline constexpr int kMaxPictureSide = 16384;

struct PictureLoad {
    Picture picture;
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

// Loads bmp, gif (first frame), jpg, jpeg, ico and what else Qt reads, EXIF orientation applied.
PictureLoad loadPicture(const QString& path);

}  // namespace platform
