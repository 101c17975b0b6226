#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace app {

// For the start-up benchmark: once `widget` is first painted, prints the milliseconds since
// `started` on standard output and ends the program.
class FirstPaintExit : public QObject {
  public:
    FirstPaintExit(QWidget* widget, const QElapsedTimer& started) : started_(started) {
        widget->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            std::printf("first paint %.1f ms\n", double(started_.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            // The frame is finished before the program ends.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QElapsedTimer started_;
    bool done_ = false;
};

}  // namespace app
