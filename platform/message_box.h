#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace platform {

struct MessageRequest {
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
};

// A modal message box; returns the button pressed.
QMessageBox::StandardButton messageBox(QWidget* parent, const MessageRequest& request);

// Lets tests answer message boxes instead of a person; an empty function restores the dialog.
using MessageResponder = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
void setMessageResponder(MessageResponder responder);

}  // namespace platform
