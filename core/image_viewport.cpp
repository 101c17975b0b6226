#include "image_viewport.h"

#include "image_fit.h"

#include "platform/twips.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cmath>

namespace core {

ImageViewport::ImageViewport(platform::ImageControl& image, platform::PictureBox& box,
                             platform::ScrollBar& hscr, platform::ScrollBar& vscr)
    : image_(image), box_(box), hscr_(hscr), vscr_(vscr) {
    connect(&hscr_, &platform::ScrollBar::changed, this, &ImageViewport::HScr_Change);
    connect(&hscr_, &platform::ScrollBar::scrolling, this, &ImageViewport::HScr_Change);
    connect(&vscr_, &platform::ScrollBar::changed, this, &ImageViewport::VScr_Change);
    connect(&vscr_, &platform::ScrollBar::scrolling, this, &ImageViewport::VScr_Change);
}

QSize ImageViewport::devicePixels() const {
    const float tpp = platform::twipsPerPixel();
    const double dpr = box_.widget()->devicePixelRatioF();
    return {qMax(0, int(std::ceil(box_.width() / tpp * dpr))),
            qMax(0, int(std::ceil(box_.height() / tpp * dpr)))};
}

void ImageViewport::FitImage() {
    image_.setStretch(true);
    platform::Geometry g = image_.geometry();
    fitSize(g, {box_.width(), box_.height()});
    if (g.width != image_.width()) image_.setWidth(g.width);
    if (g.height != image_.height()) image_.setHeight(g.height);
}

namespace {

// Shows the bar over the excess, with its thumb at the start where the image now is; hides it
// where the image fits.
void setUpScrollBar(platform::ScrollBar& bar, const AxisPlacement& p, float& unit) {
    bar.setVisible(p.scroll);
    if (!p.scroll) return;
    unit = p.unit;
    bar.setMaximum(p.maximum);
    bar.setValue(0);
}

}  // namespace

void ImageViewport::PlaceImage() {
    const AxisPlacement v = placeAxis(image_.height(), box_.height(), box_.scaleHeight());
    image_.setTop(v.offset);
    setUpScrollBar(vscr_, v, vUnit_);
    const AxisPlacement h = placeAxis(image_.width(), box_.width(), box_.scaleWidth());
    image_.setLeft(h.offset);
    setUpScrollBar(hscr_, h, hUnit_);
    image_.setDraggable(v.scroll || h.scroll);
    sharpen();
}

void ImageViewport::sharpen() {
    const platform::Picture& picture = image_.picture();
    if (!picture.isReduced()) return dropSharpen();
    const float tpp = platform::twipsPerPixel();
    const double dpr = box_.widget()->devicePixelRatioF();
    const QSize shown(int(std::ceil(image_.width() / tpp * dpr)),
                      int(std::ceil(image_.height() / tpp * dpr)));
    const QSize held = picture.image().size();
    if (held.width() >= shown.width() || held.height() >= shown.height()) return dropSharpen();
    const qint64 key = picture.image().cacheKey();
    // The decode under way is for this picture and at least this size: let it finish.
    if (sharpening_ && sharpeningKey_ == key && sharpeningTo_.width() >= shown.width() &&
        sharpeningTo_.height() >= shown.height())
        return;
    dropSharpen();
    auto* watcher = new QFutureWatcher<platform::Picture>(this);
    const std::uint64_t ticket = sharpenTicket_;
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, ticket] { swapInSharp(watcher, ticket); });
    sharpening_ = watcher;
    sharpeningKey_ = key;
    sharpeningTo_ = shown;
    // The worker decodes from its own copy of the picture (which shares the pixels read-only).
    watcher->setFuture(QtConcurrent::run(
        [picture = platform::Picture(picture), shown] { return picture.withPixels(shown); }));
}

void ImageViewport::dropSharpen() {
    ++sharpenTicket_;
    if (!sharpening_) return;
    sharpening_->disconnect(this);
    sharpening_->deleteLater();
    sharpening_ = nullptr;
}

void ImageViewport::swapInSharp(QFutureWatcher<platform::Picture>* watcher, std::uint64_t ticket) {
    watcher->deleteLater();
    if (ticket != sharpenTicket_) return;
    sharpening_ = nullptr;
    // Another picture (a new page) may have come since; only the same pixels are replaced.
    if (image_.picture().image().cacheKey() != sharpeningKey_ ||
        watcher->future().resultCount() == 0)
        return;
    image_.setPicture(watcher->result(), image_.name());
    emit sharpened();
}

void ImageViewport::waitForSharpen() {
    const QDeadlineTimer deadline(60000);
    while (sharpening_ && !deadline.hasExpired()) {
        sharpening_->waitForFinished();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

namespace {

bool moveBar(platform::ScrollBar& bar, float twips, float unit) {
    if (!bar.visible() || unit <= 0.0f) return false;
    const double target = std::nearbyint(bar.value() + static_cast<double>(twips) / unit);
    const auto value =
        static_cast<int16_t>(std::clamp<double>(target, bar.minimum(), bar.maximum()));
    if (value == bar.value()) return false;
    bar.setValue(value);
    return true;
}

}  // namespace

bool ImageViewport::scrollBy(float dxTwips, float dyTwips) {
    const bool h = moveBar(hscr_, dxTwips, hUnit_);
    const bool v = moveBar(vscr_, dyTwips, vUnit_);
    return h || v;
}

void ImageViewport::HScr_Change(int value) {
    image_.setLeft(scrollOffset(value, hUnit_));
}

void ImageViewport::VScr_Change(int value) {
    image_.setTop(scrollOffset(value, vUnit_));
}

}  // namespace core
