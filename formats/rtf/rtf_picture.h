#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace rtf {

// One \pict group as it is read: its kind, sizes, crop and data. Data come as hex digits or as
// \bin bytes; beyond kMaxBytes the picture is refused and shows as an empty frame.
class PictureReader {
  public:
    static constexpr qsizetype kMaxBytes = 32 * 1024 * 1024;

    enum class Kind { Unknown, Png, Jpeg, Dib, DeviceBitmap, Wmf, Emf };

    void begin();
    // Applies a control word of the picture group; false when it is not one.
    bool controlWord(QByteArrayView word, int param, bool hasParam);
    void hexText(QByteArrayView text);
    void binary(QByteArrayView bytes);

    // The picture at the size the document asks for, in pixels at 96 per inch, cropped; an
    // empty frame of that size when the data cannot be decoded. Null when it has no size at all.
    QImage render() const;
    // Display size in pixels; valid after the group ends.
    QSize displaySize() const;
    qsizetype dataBytes() const { return data_.size(); }

  private:
    bool append(QByteArrayView bytes);
    QImage decode() const;

    Kind kind_ = Kind::Unknown;
    int picw_ = 0, pich_ = 0;          // pixels for bitmaps, 0.01 mm for metafiles
    int goalw_ = 0, goalh_ = 0;        // twips
    int scalex_ = 100, scaley_ = 100;  // percent
    int cropl_ = 0, cropr_ = 0, cropt_ = 0, cropb_ = 0;  // twips
    int wbmWidthBytes_ = 0, wbmBits_ = 1;
    QByteArray data_;
    int nibble_ = -1;  // high half of a hex byte waiting for its low half
    bool refused_ = false;
};

}  // namespace rtf
