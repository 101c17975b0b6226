#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

// Counts the paint events a widget receives, so a benchmark can wait for what a person would see.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    int paints() const { return paints_; }

    // Runs the event loop until the widget has been painted more than `before` times; false when
    // that takes longer than `timeoutMs`.
    bool waitBeyond(int before, int timeoutMs = 5000) const {
        QElapsedTimer timer;
        timer.start();
        while (paints_ <= before) {
            if (timer.elapsed() > timeoutMs) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints_;
        return QObject::eventFilter(watched, event);
    }

  private:
    int paints_ = 0;
};
