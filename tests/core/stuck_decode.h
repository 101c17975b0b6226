#pragma once

#include "core/page_cache.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

// Stands for a slow medium: the first decode of the page named sticks until the test lets it
// go, or until ten seconds have passed, which then means somebody waited for it.
class StuckDecode {
  public:
    explicit StuckDecode(QString name) : name_(std::move(name)) {}
    platform::PictureLoad decode(const QDir& book, const QString& name, QSize pixels,
                                 const std::atomic<bool>* stop) {
        std::unique_lock lock(mutex_);
        if (name == name_ && !entered_) {
            entered_ = true;
            changed_.notify_all();
            waitedFor_ =
                !changed_.wait_for(lock, std::chrono::seconds(10), [this] { return free_; });
        }
        lock.unlock();
        return core::loadPagePicture(book, name, pixels, stop);
    }
    void waitUntilStuck() {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10), [this] { return entered_; });
    }
    // True once the decode was let go by the test; false when it had to give up waiting.
    bool release() {
        std::lock_guard lock(mutex_);
        free_ = true;
        changed_.notify_all();
        return !waitedFor_;
    }

  private:
    QString name_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false, free_ = false, waitedFor_ = false;
};
