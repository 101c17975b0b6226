#pragma once

#include "control.h"

#include <QScrollBar>

#include <cstdint>

namespace platform {

// A scroll bar with 16-bit Minimum, Maximum and Value. `changed` follows an arrow or trough
// click, the end of a thumb drag, or a change made by code to a different value; `scrolling`
// follows every move while the thumb is dragged.
class ScrollBar : public Control {
    Q_OBJECT
  public:
    ScrollBar(Qt::Orientation orientation, QWidget* parent);

    int16_t minimum() const { return min_; }
    int16_t maximum() const { return max_; }
    int16_t value() const { return value_; }
    int16_t smallChange() const { return small_; }
    int16_t largeChange() const { return large_; }

    void setMinimum(int16_t v);
    void setMaximum(int16_t v);
    void setValue(int16_t v);
    void setSmallChange(int16_t v);
    void setLargeChange(int16_t v);

    QScrollBar* bar() const { return bar_; }

  signals:
    void changed(int value);
    void scrolling(int value);

  private:
    void syncWidget();
    void fromWidget(int value);

    QScrollBar* bar_;
    int16_t min_ = 0;
    int16_t max_ = 32767;
    int16_t value_ = 0;
    int16_t small_ = 1;
    int16_t large_ = 1;
    bool syncing_ = false;
};

}  // namespace platform
