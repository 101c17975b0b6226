#include "dialog_lifecycle.h"

#include "twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

DialogLifecycle::DialogLifecycle(QObject& handlers, std::function<QDialog*()> load,
                                 std::function<void()> unloaded)
    : handlers_(handlers), load_(std::move(load)), unloaded_(std::move(unloaded)) {}

DialogLifecycle::~DialogLifecycle() {
    if (!dialog_) return;
    QDialog* dialog = dialog_;
    forget();
    delete dialog;
}

void DialogLifecycle::ensureLoaded() {
    if (dialog_) return;
    dialog_ = load_();
    state_ = State::Hidden;
    // Esc and the window's close button end in `finished`; they close like the window's own
    // closing button.
    QObject::connect(dialog_, &QDialog::finished, &handlers_, [this] { unload(); });
    // Should the owner window take the dialog down with it, the controls are simply gone.
    QObject::connect(dialog_, &QObject::destroyed, &handlers_, [this] {
        dialog_ = nullptr;
        state_ = State::Closed;
        unloaded_();
    });
}

void DialogLifecycle::show() {
    ensureLoaded();
    const bool firstShowing = state_ == State::Hidden;
    state_ = State::Shown;
    dialog_->show();
    if (firstShowing) centreOnScreen(dialog_);
    dialog_->raise();
    dialog_->activateWindow();
}

void DialogLifecycle::unload() {
    if (!dialog_) return;
    QDialog* dialog = dialog_;
    forget();
    dialog->hide();
    dialog->deleteLater();
}

void DialogLifecycle::forget() {
    QDialog* dialog = dialog_;
    dialog_ = nullptr;
    state_ = State::Closed;
    unloaded_();
    QObject::disconnect(dialog, nullptr, &handlers_, nullptr);
    for (QObject* child : dialog->findChildren<QObject*>())
        QObject::disconnect(child, nullptr, &handlers_, nullptr);
}

QDialog* createFixedDialog(QWidget* owner, const QString& title, float widthTwips,
                           float heightTwips) {
    auto* dialog = new QDialog(owner);
    dialog->setWindowTitle(title);
    dialog->setModal(false);
    dialog->setFixedSize(toPixels(widthTwips), toPixels(heightTwips));
    centreOnScreen(dialog);
    return dialog;
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->geometry().center());
    window->move(frame.topLeft());
}

}  // namespace platform
