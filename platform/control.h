#pragma once

#include "geometry.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace platform {

// A control as the logic sees it: twips geometry held exactly, its own Visible flag and Enabled,
// over one standard Qt widget that shows it (and that screen readers see). The control object is
// a child of its widget, so it lives exactly as long as the widget.
class Control : public QObject {
    Q_OBJECT
  public:
    explicit Control(QWidget* widget);

    float left() const { return geometry_.left; }
    float top() const { return geometry_.top; }
    float width() const { return geometry_.width; }
    float height() const { return geometry_.height; }
    const Geometry& geometry() const { return geometry_; }

    // Each returns false when the value is rejected (negative or non-finite size, or a size
    // while the control sizes itself to its content).
    bool setLeft(float v);
    bool setTop(float v);
    bool setWidth(float v);
    bool setHeight(float v);
    // Design geometry: four assignments, each on its own.
    void place(float left, float top, float width, float height);

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);

    QWidget* widget() const { return widget_; }

  protected:
    // True while the control takes its size from its content and refuses assigned sizes.
    virtual bool sizeFollowsContent() const { return false; }
    // Maps the twips geometry to device pixels on the widget.
    void applyGeometry();
    Geometry& mutableGeometry() { return geometry_; }

  private:
    QPointer<QWidget> widget_;
    Geometry geometry_;
    bool visible_ = true;
};

// What screen readers say of a widget: its name and what it does. `explain` is for a control that
// its caption names already.
void describe(QWidget* widget, const char* name, const char* description);
void describe(Control* control, const char* name, const char* description);
void explain(Control* control, const char* description);

}  // namespace platform
