#include "image_viewport.h"

#include "image_fit.h"

#include "platform/twips.h"

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
    if (!picture.isReduced()) return sharpening_.drop();
    const float tpp = platform::twipsPerPixel();
    const double dpr = box_.widget()->devicePixelRatioF();
    const QSize shown(int(std::ceil(image_.width() / tpp * dpr)),
                      int(std::ceil(image_.height() / tpp * dpr)));
    const QSize held = picture.image().size();
    if (held.width() >= shown.width() || held.height() >= shown.height()) return sharpening_.drop();
    const qint64 key = picture.image().cacheKey();
    // The decode under way is for this picture and at least this size: let it finish.
    if (sharpening_.pending() && sharpeningKey_ == key && sharpeningTo_.width() >= shown.width() &&
        sharpeningTo_.height() >= shown.height())
        return;
    sharpeningKey_ = key;
    sharpeningTo_ = shown;
    // The worker decodes from its own copy of the picture (which shares the pixels read-only).
    sharpening_.watch(QtConcurrent::run([picture = platform::Picture(picture), shown] {
                          return picture.withPixels(shown);
                      }),
                      [this](const QFuture<platform::Picture>& done) {
                          if (done.resultCount() > 0) swapInSharp(done.result());
                      });
}

void ImageViewport::swapInSharp(const platform::Picture& sharp) {
    // Another picture (a new page) may have come since; only the same pixels are replaced.
    if (image_.picture().image().cacheKey() != sharpeningKey_) return;
    image_.setPicture(sharp, image_.name());
    emit sharpened();
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
