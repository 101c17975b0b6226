#include "timer.h"

namespace platform {

Timer::Timer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
}

bool Timer::setInterval(int ms) {
    if (ms < 0 || ms > kMaxInterval) return false;
    interval_ = ms;
    // A new interval restarts the period, as a window timer does.
    if (ms == 0)
        timer_.stop();
    else
        timer_.start(ms);
    return true;
}

}  // namespace platform
