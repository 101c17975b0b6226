#include "control.h"

#include "twips.h"

namespace platform {

Control::Control(QWidget* widget) : QObject(widget), widget_(widget) {
    const QRect r = widget->geometry();
    geometry_ = {toTwips(r.x()), toTwips(r.y()), toTwips(r.width()), toTwips(r.height())};
}

bool Control::setLeft(float v) {
    if (!geometry_.setLeft(v)) return false;
    applyGeometry();
    return true;
}

bool Control::setTop(float v) {
    if (!geometry_.setTop(v)) return false;
    applyGeometry();
    return true;
}

bool Control::setWidth(float v) {
    if (sizeFollowsContent() || !geometry_.setWidth(v)) return false;
    applyGeometry();
    return true;
}

bool Control::setHeight(float v) {
    if (sizeFollowsContent() || !geometry_.setHeight(v)) return false;
    applyGeometry();
    return true;
}

void Control::place(float left, float top, float width, float height) {
    // Each assignment stands on its own, as with the single setters; the widget moves once.
    geometry_.setLeft(left);
    geometry_.setTop(top);
    if (!sizeFollowsContent()) {
        geometry_.setWidth(width);
        geometry_.setHeight(height);
    }
    applyGeometry();
}

void Control::setVisible(bool visible) {
    visible_ = visible;
    if (widget_) widget_->setVisible(visible);
}

// The control's own flag, not whether a disabled container greys it out.
bool Control::enabled() const {
    return widget_ && !widget_->testAttribute(Qt::WA_ForceDisabled);
}

void Control::setEnabled(bool enabled) {
    if (widget_) widget_->setEnabled(enabled);
}

void Control::applyGeometry() {
    if (!widget_) return;
    // Edges are rounded, not sizes, so neighbouring controls meet without gaps.
    const int x = toPixels(geometry_.left);
    const int y = toPixels(geometry_.top);
    const int right = toPixels(geometry_.left + geometry_.width);
    const int bottom = toPixels(geometry_.top + geometry_.height);
    widget_->setGeometry(x, y, std::max(0, right - x), std::max(0, bottom - y));
}

void describe(QWidget* widget, const char* name, const char* description) {
    widget->setAccessibleName(QString::fromUtf8(name));
    widget->setAccessibleDescription(QString::fromUtf8(description));
}

void describe(Control* control, const char* name, const char* description) {
    describe(control->widget(), name, description);
}

void explain(Control* control, const char* description) {
    control->widget()->setAccessibleDescription(QString::fromUtf8(description));
}

}  // namespace platform
