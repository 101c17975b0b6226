#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <atomic>
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
    // A picture decoded smaller than its natural size keeps the path of its file, not its bytes,
    // so more of its pixels can be read again later (zooming in, printing).
    Picture(QImage image, QSize naturalPixels, QString sourcePath);
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
    // Whether the raster pixels held are fewer than the natural ones and can be decoded anew.
    bool isReduced() const { return !sourcePath_.isEmpty() && image_.size() != naturalPixels_; }
    // The same picture with at least `pixels` decoded (capped at the natural size), or this one
    // when it already has them or its file no longer holds the same picture. Reads and decodes
    // the file on the calling thread; a worker may call it on its own copy.
    Picture withPixels(QSize pixels) const;
    // Every natural pixel, for printing.
    Picture fullResolution() const;
    // Bytes held: the decoded pixels.
    qint64 memoryBytes() const;

  private:
    QImage image_;
    QSize naturalPixels_;
    std::shared_ptr<const VectorPicture> vector_;
    QString sourcePath_;
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
    QString error;         // empty on success
    bool stopped = false;  // the decode was stopped before it was done
    bool ok() const { return error.isEmpty(); }
};

// What a decode stopped by its caller gives instead of a picture.
PictureLoad stoppedLoad();

// Decodes a book picture from its bytes. The format is told by the content alone and must be one
// a book holds: wmf, emf, bmp, gif (first frame), jpeg, ico, or png; nothing that can refer to
// other files. EXIF orientation is applied.
// With `fitPixels` not empty, a raster picture larger than that is decoded just large enough to
// fill it with the aspect ratio kept (JPEG then decodes at a reduced DCT scale); its natural size
// is still the one the file declares.
PictureLoad decodePicture(const QByteArray& bytes, QSize fitPixels = {});

// Reads the file by the book's file rules, then decodes it as above. Only a picture loaded from
// its file can give more of its pixels later; one decoded from bytes alone keeps what it has.
// Setting `*stop` from another thread ends the reading early with stoppedLoad().
PictureLoad loadPicture(const QString& path, QSize fitPixels = {},
                        const std::atomic<bool>* stop = nullptr);

// As decodePicture and loadPicture, for a thumbnail of `fitPixels`: a JPEG whose EXIF block holds
// a small copy that covers it with the photo's shape is drawn from that copy, as cameras store
// one for exactly this. A page on screen never is: the copy may predate an edit of the photo.
PictureLoad decodeThumbnail(const QByteArray& bytes, QSize fitPixels);
PictureLoad loadThumbnail(const QString& path, QSize fitPixels);

// The pixel size a picture of `natural` pixels is decoded at to fill `fit`: scaled down with the
// aspect ratio kept so that one side meets `fit` (ties fit the width), never scaled up.
QSize reducedSize(QSize natural, QSize fit);

}  // namespace platform
