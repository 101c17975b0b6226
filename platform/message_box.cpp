#include "message_box.h"

namespace platform {
namespace {
MessageResponder& responder() {
    static MessageResponder r;
    return r;
}
}  // namespace

void setMessageResponder(MessageResponder r) {
    responder() = std::move(r);
}

QMessageBox::StandardButton messageBox(QWidget* parent, const MessageRequest& request) {
    if (responder()) return responder()(request);
    QMessageBox box(request.icon, request.title, QString(), request.buttons, parent);
    // Messages name files chosen by the user; a name must never be taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace platform
