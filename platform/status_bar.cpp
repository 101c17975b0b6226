#include "status_bar.h"

#include "controls.h"

#include <algorithm>

namespace platform {

StatusBar::StatusBar(QWidget* parent)
    : Control(new QStatusBar(parent)), bar_(static_cast<QStatusBar*>(widget())) {
    bar_->setSizeGripEnabled(false);
    bar_->setAccessibleName(QStringLiteral("状态栏"));
    static const char* const names[] = {"状态", "标题", "页码"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(bar_);
        usePlainText(label);  // panels show names from the catalog
        // The description says which panel it is; screen readers read the text as its name,
        // and the panel's own name while it is empty.
        label->setAccessibleDescription(QString::fromUtf8(names[i]));
        label->setAccessibleName(QString::fromUtf8(names[i]));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(kMinPanelWidth);
        bar_->addWidget(label, i == 1 ? 3 : 1);  // the title panel gets the room
        panels_[i] = label;
    }
}

QLabel* StatusBar::panel(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[panel - 1] : nullptr;
}

QString StatusBar::panelText(int panel) const {
    const QLabel* label = this->panel(panel);
    return label ? label->text() : QString();
}

void StatusBar::setPanelText(int panel, const QString& text) {
    QLabel* label = this->panel(panel);
    if (!label) return;
    label->setText(text);
    label->setAccessibleName(text.isEmpty() ? label->accessibleDescription() : QString());
    // The full text on hover, escaped: a tooltip would otherwise take markup as rich text.
    label->setToolTip(text.isEmpty() ? QString()
                                     : QStringLiteral("<html>%1</html>").arg(text.toHtmlEscaped()));
    if (panel == 1) {
        // Panel 1 carries messages: it takes the room it needs, up to most of the bar.
        const int wanted = label->fontMetrics().horizontalAdvance(text) + 4 * label->frameWidth();
        label->setMinimumWidth(
            std::clamp(wanted, kMinPanelWidth, std::max(kMinPanelWidth, bar_->width() * 3 / 5)));
    }
}

void StatusBar::dock(float containerWidth, float containerHeight) {
    setLeft(0);
    setTop(containerHeight - height());
    setWidth(containerWidth);
}

}  // namespace platform
