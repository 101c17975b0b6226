#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFuture>
#include <QFutureWatcher>
#include <QObject>

#include <cstdint>
#include <utility>

namespace core {

// One result on its way to the GUI thread, of which only the latest asked for counts: a result
// that arrives after a later one was asked for, or after drop(), is not handed on, and its
// watcher goes with it.
template <typename T>
class LatestRequest {
  public:
    // The watchers live on `owner`'s thread, and go with it at the latest.
    explicit LatestRequest(QObject* owner) : owner_(owner) {}
    ~LatestRequest() { drop(); }
    LatestRequest(const LatestRequest&) = delete;
    LatestRequest& operator=(const LatestRequest&) = delete;

    // Waits for `future` in place of any earlier one; `done` gets it, finished, on the owner's
    // thread, unless another is asked for or dropped first.
    template <typename Done>
    void watch(QFuture<T> future, Done done) {
        drop();
        auto* watcher = new QFutureWatcher<T>(owner_);
        const std::uint64_t ticket = ticket_;
        QObject::connect(watcher, &QFutureWatcherBase::finished, owner_,
                         [this, watcher, ticket, done = std::move(done)] {
                             watcher->deleteLater();
                             if (ticket != ticket_) return;  // superseded: not handed on
                             pending_ = nullptr;
                             done(watcher->future());
                         });
        pending_ = watcher;
        watcher->setFuture(std::move(future));
    }
    // Forgets the result on its way; the work behind it runs on, unseen.
    void drop() {
        ++ticket_;
        if (!pending_) return;
        pending_->disconnect(owner_);
        pending_->deleteLater();
        pending_ = nullptr;
    }
    bool pending() const { return pending_ != nullptr; }
    // Handles events until the result asked for is handed on; for tests and benchmarks.
    void waitFor(int ms = 60000) {
        const QDeadlineTimer deadline(ms);
        while (pending_ && !deadline.hasExpired()) {
            pending_->waitForFinished();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }

  private:
    QObject* owner_;
    // Every request takes the next ticket; a result that finishes under an older one is late.
    std::uint64_t ticket_ = 0;
    QFutureWatcher<T>* pending_ = nullptr;
};

}  // namespace core
