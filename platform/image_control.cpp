#include "image_control.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace platform {

// Paints only what is exposed, so a zoomed picture far larger than the screen costs no more
// than the visible part.
class ImageControl::Surface : public QLabel {
  public:
    explicit Surface(QWidget* parent) : QLabel(parent) {
        setAccessibleName(QStringLiteral("页面图像"));
    }
    void setOwner(ImageControl* owner) { owner_ = owner; }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setClipRegion(event->region());
        if (owner_) owner_->picture_.paint(painter, QRectF(rect()), QRectF(event->rect()));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        pressed_ = true;
        dragging_ = false;
        pressAt_ = last_ = event->globalPosition();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!pressed_ || !owner_ || !owner_->draggable_) return;
        const QPointF at = event->globalPosition();
        // A hand that shakes a little while clicking still clicks.
        if (!dragging_ && (at - pressAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        if (!dragging_) setCursor(Qt::ClosedHandCursor);
        dragging_ = true;
        emit owner_->dragged(at - last_);
        last_ = at;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !pressed_) return;
        pressed_ = false;
        if (dragging_) {
            dragging_ = false;
            if (owner_) owner_->setDraggable(owner_->draggable_);  // back to the open hand
            return;
        }
        if (owner_) emit owner_->clicked();
    }
    // The release that ends a double click is not another click.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        pressed_ = false;
        if (owner_) emit owner_->doubleClicked();
    }

  private:
    ImageControl* owner_ = nullptr;
    bool pressed_ = false;
    bool dragging_ = false;
    QPointF pressAt_, last_;
};

ImageControl::ImageControl(QWidget* parent)
    : Control(new Surface(parent)), surface_(static_cast<Surface*>(widget())) {
    surface_->setOwner(this);
}

void ImageControl::setPicture(Picture picture, const QString& name) {
    picture_ = std::move(picture);
    name_ = name;
    if (!stretch_) takeNaturalSize();
    surface_->update();
}

void ImageControl::setStretch(bool stretch) {
    stretch_ = stretch;
    if (!stretch_) takeNaturalSize();
    surface_->update();
}

void ImageControl::setDraggable(bool draggable) {
    draggable_ = draggable;
    if (draggable_)
        surface_->setCursor(Qt::OpenHandCursor);
    else
        surface_->unsetCursor();
}

void ImageControl::takeNaturalSize() {
    const QSizeF size = picture_.naturalSize();
    mutableGeometry().setWidth(static_cast<float>(size.width()));
    mutableGeometry().setHeight(static_cast<float>(size.height()));
    applyGeometry();
}

}  // namespace platform
