#pragma once

#include "control.h"

#include <QLabel>
#include <QStatusBar>

#include <array>

namespace platform {

// A status bar with panels 1 to 3, docked to the bottom of its container at full width.
class StatusBar : public Control {
    Q_OBJECT
  public:
    explicit StatusBar(QWidget* parent);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    QLabel* panel(int panel) const;

    // Keeps the bar docked after the container was resized.
    void dock(float containerWidth, float containerHeight);

  private:
    static constexpr int kMinPanelWidth = 60;  // pixels
    QStatusBar* bar_;
    std::array<QLabel*, 3> panels_{};
};

}  // namespace platform
