#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>

class QPainter;

namespace metafile {

enum class Format { Unknown, Wmf, Emf };

// Tells a metafile by its first bytes: a placeable or standard WMF header, or an EMF header
// record with its signature.
Format sniff(QByteArrayView bytes);

// A string the picture draws and where, for checking text without comparing pixels.
struct TextRun {
    QString text;
    QPointF logical;  // reference point in the file's own coordinates
    QPointF target;   // the same point on the painter
};

// A parsed Windows metafile: immutable, cheap to copy, safe to play from several threads.
class Metafile {
  public:
    Metafile() = default;
    // Null when the bytes are not a WMF or EMF whose header holds up.
    static Metafile fromData(QByteArray bytes);

    bool isNull() const { return !d_; }
    Format format() const;
    // The size the file records, in twips (1/1440 inch).
    QSizeF sizeTwips() const;

    // Draws the picture scaled to fill `target` on any painter. The painter's state is kept.
    // Playback stops early (what was drawn stays) when the file breaks its own record sizes or
    // exceeds the work caps.
    void play(QPainter& painter, const QRectF& target, QList<TextRun>* texts = nullptr) const;

    struct Data;

  private:
    std::shared_ptr<const Data> d_;
};

}  // namespace metafile
