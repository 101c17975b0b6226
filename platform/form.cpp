#include "form.h"

#include "twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

namespace platform {

Form::Form(QWidget* parent) : QMainWindow(parent), client_(new QWidget(this)) {
    setCentralWidget(client_);
    client_->setAutoFillBackground(true);
    client_->installEventFilter(this);
}

float Form::outerWidth() const {
    return toTwips(frameGeometry().width());
}
float Form::outerHeight() const {
    return toTwips(frameGeometry().height());
}
float Form::scaleWidth() const {
    return toTwips(client_->width());
}
float Form::scaleHeight() const {
    return isMinimized() ? 0.0f : toTwips(client_->height());
}

void Form::setClientSize(float widthTwips, float heightTwips) {
    const int menu = menuWidget() ? menuWidget()->sizeHint().height() : 0;
    resize(toPixels(widthTwips), toPixels(heightTwips) + menu);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center() - QPoint(width() / 2, height() / 2));
    }
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        emit resized();
    return QMainWindow::eventFilter(watched, event);
}

void Form::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) emit resized();
}

}  // namespace platform
