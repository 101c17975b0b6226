#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QWidget>

namespace screenreader {

// Every button and titled frame under `root`, as a screen reader names it: its caption without
// the access key ("退出(&E)" is "退出"). Returns how many were found.
inline int expectNamedByCaptions(QWidget* root) {
    int found = 0;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            caption = button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(widget))
            caption = frame->title();
        if (caption.isEmpty()) continue;
        ++found;
        const qsizetype key = caption.indexOf(QStringLiteral("(&"));
        const QString spoken = (key > 0 ? caption.left(key) : caption).remove(QLatin1Char('&'));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), spoken)
            << caption.toStdString();
    }
    return found;
}

}  // namespace screenreader
