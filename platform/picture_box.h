#pragma once

#include "control.h"

#include <QColor>
#include <QFrame>

namespace platform {

// A picture box used as a clipping viewport: an outer size (with its border) and an inner size
// (ScaleWidth, ScaleHeight); children are placed relative to the inner area and clipped to it.
class PictureBox : public Control {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent);

    // The inner size: the area inside the border that clips the children, in whole pixels.
    float scaleWidth() const;
    float scaleHeight() const;

    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor& color);

    // Where children of the viewport go.
    QWidget* inner() const { return inner_; }

  private:
    QFrame* frame_;
    QWidget* inner_;
    QColor backColor_;
};

}  // namespace platform
