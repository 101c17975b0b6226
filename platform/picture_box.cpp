#include "picture_box.h"

#include "twips.h"

#include <QVBoxLayout>

#include <algorithm>

namespace platform {
namespace {
constexpr int kBorderPixels = 2;
}

PictureBox::PictureBox(QWidget* parent)
    : Control(new QFrame(parent)), frame_(static_cast<QFrame*>(widget())) {
    frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame_->setLineWidth(kBorderPixels);
    frame_->setAccessibleName(QStringLiteral("图像窗口"));
    // The inner widget fills exactly what the border leaves, so the area that clips the picture
    // is the inner size the placement works with.
    auto* layout = new QVBoxLayout(frame_);
    layout->setContentsMargins(0, 0, 0, 0);
    inner_ = new QWidget(frame_);
    inner_->setAutoFillBackground(true);
    layout->addWidget(inner_);
    setBackColor(QColor(192, 192, 255));
}

// Read from the frame's own rectangle, which follows every geometry change at once, also while
// the box is hidden and the inner widget has not been laid out yet.
float PictureBox::scaleWidth() const {
    return toTwips(std::max(0, frame_->contentsRect().width()));
}

float PictureBox::scaleHeight() const {
    return toTwips(std::max(0, frame_->contentsRect().height()));
}

void PictureBox::setBackColor(const QColor& color) {
    backColor_ = color;
    QPalette pal = inner_->palette();
    pal.setColor(QPalette::Window, color);
    inner_->setPalette(pal);
}

}  // namespace platform
