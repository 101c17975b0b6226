#pragma once

#include "control.h"
#include "picture.h"

#include <QLabel>

namespace platform {

// The image control. Stretch off: the control has the natural size of its picture, drawn
// unscaled. Stretch on: it keeps the size it is given and the picture is drawn scaled to it.
class ImageControl : public Control {
    Q_OBJECT
  public:
    explicit ImageControl(QWidget* parent);

    const Picture& picture() const { return picture_; }
    void setPicture(Picture picture, const QString& name = {});
    // The file name the picture was given with. Screen readers hear the window's own words about
    // the picture, so the name is kept here and not in the accessible description.
    const QString& name() const { return name_; }
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);
    // While draggable, a press and move pans instead of clicking; the cursor says so.
    bool draggable() const { return draggable_; }
    void setDraggable(bool draggable);

  signals:
    // A press and release without a drag in between, as a button click is.
    void clicked();
    void doubleClicked();
    // The mouse moved this far (device-independent pixels) while dragging the picture.
    void dragged(QPointF delta);

  protected:
    // With stretch off the size follows the picture; an assignment is refused.
    bool sizeFollowsContent() const override { return !stretch_; }

  private:
    class Surface;
    void takeNaturalSize();

    Surface* surface_;
    Picture picture_;
    QString name_;
    bool stretch_ = false;
    bool draggable_ = false;
};

}  // namespace platform
