#include "page_pipeline.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace core {

PagePipeline::PagePipeline(const PageView& view, QObject* parent) : QObject(parent), view_(view) {}

void PagePipeline::cancel() {
    ++ticket_;
    if (!pending_) return;
    pending_->disconnect(this);
    pending_->deleteLater();
    pending_ = nullptr;
}

void PagePipeline::ShowPage(int16_t row, bool loadPicture) {
    cancel();
    const QString name = loadPicture && row >= 1 && row <= view_.list.rowCount()
                             ? pageImageFile(view_.list, row)
                             : QString();
    const QSize pixels = view_.viewport.devicePixels();
    if (name.isEmpty() || !view_.cache || view_.cache->isReady(view_.book, name, pixels)) {
        core::ShowPage(view_, row, loadPicture);
        emit pageApplied(row);
        return;
    }
    auto* watcher = new QFutureWatcher<platform::PictureLoad>(this);
    const std::uint64_t ticket = ticket_;
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, ticket, row] { finish(watcher, ticket, row); });
    pending_ = watcher;
    watcher->setFuture(view_.cache->request(view_.book, name, pixels));
}

void PagePipeline::finish(QFutureWatcher<platform::PictureLoad>* watcher, std::uint64_t ticket,
                          int16_t row) {
    watcher->deleteLater();
    if (ticket != ticket_) return;  // a later page was asked for: this one is not shown
    pending_ = nullptr;
    const QFuture<platform::PictureLoad> decode = watcher->future();
    // A decode stopped before it was done is done here rather than lost.
    platform::PictureLoad load =
        decode.resultCount() > 0 ? decode.result() : platform::PictureLoad{};
    if (decode.resultCount() == 0 || load.stopped) load = loadPictureOf(view_, row);
    ShowLoadedPage(view_, row, true, std::move(load));
    emit pageApplied(row);
}

void PagePipeline::waitForPage() {
    const QDeadlineTimer deadline(60000);
    while (pending_ && !deadline.hasExpired()) {
        pending_->waitForFinished();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

}  // namespace core
