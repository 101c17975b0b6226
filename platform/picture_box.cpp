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
    auto* layout = new QVBoxLayout(frame_);
    layout->setContentsMargins(kBorderPixels, kBorderPixels, kBorderPixels, kBorderPixels);
    inner_ = new QWidget(frame_);
    inner_->setAutoFillBackground(true);
    layout->addWidget(inner_);
    setBackColor(QColor(192, 192, 255));
}

float PictureBox::borderTwips() const {
    return kBorderPixels * twipsPerPixel();
}

float PictureBox::scaleWidth() const {
    return std::max(0.0f, width() - 2 * borderTwips());
}

float PictureBox::scaleHeight() const {
    return std::max(0.0f, height() - 2 * borderTwips());
}

void PictureBox::setBackColor(const QColor& color) {
    backColor_ = color;
    QPalette pal = inner_->palette();
    pal.setColor(QPalette::Window, color);
    inner_->setPalette(pal);
}

}  // namespace platform
