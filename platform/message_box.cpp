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
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    // Texts carry file names, which are never markup.
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace platform
