#pragma once

#include <QObject>
#include <QTimer>

namespace platform {

// A window timer: Interval in milliseconds, 0 stops it. Ticks arrive on the GUI thread between
// other events, so they never overlap a handler. Intervals beyond 65535 ms are refused.
class Timer : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxInterval = 65535;

    explicit Timer(QObject* parent = nullptr);

    int interval() const { return interval_; }
    // False (and nothing changes) when the timer cannot take the value.
    bool setInterval(int ms);

  signals:
    void tick();

  private:
    QTimer timer_;
    int interval_ = 0;
};

}  // namespace platform
