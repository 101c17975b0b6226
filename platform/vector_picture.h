#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <memory>

class QPainter;

namespace platform {

struct PictureLoad;

// A metafile behind a picture: drawn at the size shown, never a blown-up bitmap. The last
// rendering is kept, so repainting a page at the same size does not replay the file.
class VectorPicture {
  public:
    // Null when the bytes are not a metafile whose header holds up.
    static std::shared_ptr<VectorPicture> fromData(const QByteArray& bytes);
    ~VectorPicture();

    QSizeF naturalTwips() const;
    void paint(QPainter& painter, const QRectF& target, const QRectF& exposed) const;

  private:
    VectorPicture();
    struct Data;
    std::unique_ptr<Data> d_;
};

// True when the bytes start like a WMF or EMF.
bool looksLikeMetafile(const QByteArray& bytes);

// Decodes a WMF or EMF picture from its bytes, or says why not.
PictureLoad decodeMetafile(const QByteArray& bytes);

}  // namespace platform
