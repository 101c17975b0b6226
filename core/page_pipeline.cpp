#include "page_pipeline.h"

namespace core {

PagePipeline::PagePipeline(const PageView& view, QObject* parent) : QObject(parent), view_(view) {}

void PagePipeline::cancel() {
    decode_.drop();
}

void PagePipeline::ShowPage(int16_t row, bool loadPicture) {
    cancel();
    const QString name = loadPicture && row >= 1 && row <= view_.list.rowCount()
                             ? pageImageFile(view_.list, row)
                             : QString();
    if (name.isEmpty() || !view_.cache ||
        view_.cache->isReady(view_.book, name, view_.viewport.devicePixels())) {
        core::ShowPage(view_, row, loadPicture);
        emit pageApplied(row);
        return;
    }
    decode(row, name);
}

void PagePipeline::decode(int16_t row, const QString& name) {
    decode_.watch(
        view_.cache->request(view_.book, name, view_.viewport.devicePixels()),
        [this, row, name](const QFuture<platform::PictureLoad>& done) { finish(row, name, done); });
}

void PagePipeline::finish(int16_t row, const QString& name,
                          const QFuture<platform::PictureLoad>& decode) {
    // A decode stopped before it was done (the cache dropped it) is asked for again rather than
    // lost, and not done here: the GUI thread never waits on a slow medium.
    if (decode.resultCount() > 0 && decode.result().stopped) return this->decode(row, name);
    ShowLoadedPage(view_, row, true,
                   decode.resultCount() > 0 ? decode.result() : loadPictureOf(view_, row));
    emit pageApplied(row);
}

}  // namespace core
