#pragma once

#include "page_display.h"

#include <QFutureWatcher>
#include <QObject>

#include <cstdint>

namespace core {

// Page turns that never wait on a decode: a page whose picture is decoded already is shown at
// once; any other is decoded on a worker and shown when done, unless a later page has been asked
// for by then. Everything of one page (picture, text, status) goes on screen in the same turn.
class PagePipeline : public QObject {
    Q_OBJECT
  public:
    // `view.cache` holds the pictures decoded ahead; without one every turn decodes in place.
    explicit PagePipeline(const PageView& view, QObject* parent = nullptr);

    // The steps of ShowPage for row `row`, now or once its picture is decoded.
    void ShowPage(int16_t row, bool loadPicture = true);
    // Forgets the page waiting for its picture (a new catalog, help shown over it).
    void cancel();
    // Whether a page waits for its picture.
    bool waiting() const { return pending_ != nullptr; }
    // Handles events until no page waits; for tests and benchmarks.
    void waitForPage();

  signals:
    // The steps of ShowPage have run for `row`.
    void pageApplied(int16_t row);

  private:
    void finish(QFutureWatcher<platform::PictureLoad>* watcher, std::uint64_t ticket, int16_t row);

    PageView view_;
    // Every request takes the next ticket; a decode that finishes under an older one is late.
    std::uint64_t ticket_ = 0;
    QFutureWatcher<platform::PictureLoad>* pending_ = nullptr;
};

}  // namespace core
