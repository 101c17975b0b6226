#pragma once

#include <QDialog>
#include <QObject>

#include <functional>

namespace platform {

// The life of a secondary window that exists once for the whole run: its controls are built on
// demand (shown, or hidden when only its values are read), and closing it deletes them while the
// object that owns the window and its public values lives on.
class DialogLifecycle {
  public:
    enum class State { Closed, Hidden, Shown };

    // `handlers`: the object the controls' signals are connected to; on closing every such
    // connection is cut, so nothing the dying controls still emit reaches a handler.
    // `load`: builds the controls, connects them and runs the opening steps; returns the window.
    // `unloaded`: drops the owner's hold on the controls.
    DialogLifecycle(QObject& handlers, std::function<QDialog*()> load,
                    std::function<void()> unloaded);
    ~DialogLifecycle();

    DialogLifecycle(const DialogLifecycle&) = delete;
    DialogLifecycle& operator=(const DialogLifecycle&) = delete;

    // Builds a closed window hidden; an open one is left as it is.
    void ensureLoaded();
    // Shows the window, centred on its first showing, and brings it forward.
    void show();
    // Closes the window: the controls are cut off at once and deleted once control returns to
    // the event loop, since this may run inside one of their own signals.
    void unload();

    State state() const { return state_; }
    QDialog* dialog() const { return dialog_; }

  private:
    void forget();

    QObject& handlers_;
    std::function<QDialog*()> load_;
    std::function<void()> unloaded_;
    QDialog* dialog_ = nullptr;
    State state_ = State::Closed;
};

// A modeless dialog whose client area has this designed size in twips, centred on the screen.
QDialog* createFixedDialog(QWidget* owner, const QString& title, float widthTwips,
                           float heightTwips);

// Puts the window, frame included, in the middle of its screen. The frame is known only once the
// window has been shown, so a first showing centres again.
void centreOnScreen(QWidget* window);

}  // namespace platform
