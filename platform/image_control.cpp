#include "image_control.h"

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
        if (owner_ && event->button() == Qt::LeftButton) emit owner_->clicked();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (owner_ && event->button() == Qt::LeftButton) emit owner_->doubleClicked();
    }

  private:
    ImageControl* owner_ = nullptr;
};

ImageControl::ImageControl(QWidget* parent)
    : Control(new Surface(parent)), surface_(static_cast<Surface*>(widget())) {
    surface_->setOwner(this);
}

void ImageControl::setPicture(Picture picture, const QString& name) {
    picture_ = std::move(picture);
    surface_->setAccessibleDescription(name);
    if (!stretch_) takeNaturalSize();
    surface_->update();
}

QString ImageControl::name() const {
    return surface_->accessibleDescription();
}

void ImageControl::setStretch(bool stretch) {
    stretch_ = stretch;
    if (!stretch_) takeNaturalSize();
    surface_->update();
}

void ImageControl::takeNaturalSize() {
    const QSizeF size = picture_.naturalSize();
    mutableGeometry().setWidth(static_cast<float>(size.width()));
    mutableGeometry().setHeight(static_cast<float>(size.height()));
    applyGeometry();
}

}  // namespace platform
