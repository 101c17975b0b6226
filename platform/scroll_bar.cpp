#include "scroll_bar.h"

#include <algorithm>

namespace platform {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : Control(new QScrollBar(orientation, parent)), bar_(static_cast<QScrollBar*>(widget())) {
    bar_->setTracking(true);
    syncWidget();
    connect(bar_, &QScrollBar::valueChanged, this, [this](int v) { fromWidget(v); });
    connect(bar_, &QScrollBar::sliderReleased, this, [this] { emit changed(value_); });
}

void ScrollBar::setMinimum(int16_t v) {
    min_ = v;
    if (max_ < min_) max_ = min_;
    setValue(std::clamp(value_, min_, max_));
    syncWidget();
}

void ScrollBar::setMaximum(int16_t v) {
    max_ = v;
    if (min_ > max_) min_ = max_;
    setValue(std::clamp(value_, min_, max_));
    syncWidget();
}

void ScrollBar::setValue(int16_t v) {
    const int16_t clamped = std::clamp(v, min_, max_);
    if (clamped == value_) return;
    value_ = clamped;
    syncWidget();
    emit changed(value_);
}

void ScrollBar::setSmallChange(int16_t v) {
    small_ = v;
    syncWidget();
}

void ScrollBar::setLargeChange(int16_t v) {
    large_ = v;
    syncWidget();
}

void ScrollBar::syncWidget() {
    syncing_ = true;
    bar_->setRange(min_, max_);
    bar_->setSingleStep(small_);
    bar_->setPageStep(large_);
    bar_->setValue(value_);
    syncing_ = false;
}

// A move made by the user on the widget: while the thumb is held it is scrolling, otherwise
// (arrows, trough, keys, wheel) a change.
void ScrollBar::fromWidget(int v) {
    if (syncing_ || v == value_) return;
    value_ = static_cast<int16_t>(std::clamp(v, int(min_), int(max_)));
    if (bar_->isSliderDown())
        emit scrolling(value_);
    else
        emit changed(value_);
}

}  // namespace platform
