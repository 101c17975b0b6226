#include "rtf/rtf_reader.h"

#include <algorithm>

// What the reader does when a picture or a field's instruction has been read in full.
namespace rtf {

void Reader::finishFieldInstruction() {
    // HYPERLINK "target" [\\l "anchor"] ...: the result text links to the target. Links to a
    // place in the document alone (\\l only) have nothing to open and stay plain text.
    const QString inst = QString::fromLatin1(fieldInst_).simplified();
    fieldInst_.clear();
    if (!inst.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) return;
    QString rest = inst.mid(9).trimmed();
    QString target;
    if (rest.startsWith(u'"')) {
        const qsizetype end = rest.indexOf(u'"', 1);
        target = rest.mid(1, end < 0 ? -1 : end - 1);
    } else if (!rest.startsWith(u'\\')) {
        target = rest.section(u' ', 0, 0);
    }
    if (target.isEmpty() || links_.size() >= kMaxLinks) return;
    links_.push_back(target);
    top().chr.link = int(links_.size()) - 1;
}

void Reader::finishPicture() {
    const Destination into = top().dest;
    if ((into != Destination::Body && into != Destination::ShapeInst) || top().chr.hidden) return;
    const QSize size = picture_.displaySize();
    const qint64 pixels = qint64(std::max(size.width(), 1)) * std::max(size.height(), 1);
    if (pictures_ >= kMaxPictures || picturePixels_ + pixels > kMaxPicturePixels) return;
    const QImage image = picture_.render();
    if (image.isNull()) return;
    ++pictures_;
    picturePixels_ += qint64(image.width()) * image.height();
    flushBytes();
    resolveSurrogate();
    placeLabel();
    builder_.enterTable(top().para.tableDepth());
    builder_.insertImage(image, charFormat());
}

}  // namespace rtf
