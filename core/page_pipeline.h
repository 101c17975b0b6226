#pragma once

#include "latest_request.h"
#include "page_display.h"

#include <QObject>

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
    bool waiting() const { return decode_.pending(); }
    // Handles events until no page waits; for tests and benchmarks.
    void waitForPage() { decode_.waitFor(); }

  signals:
    // The steps of ShowPage have run for `row`.
    void pageApplied(int16_t row);

  private:
    void decode(int16_t row, const QString& name);
    void finish(int16_t row, const QString& name, const QFuture<platform::PictureLoad>& decode);

    PageView view_;
    LatestRequest<platform::PictureLoad> decode_{this};
};

}  // namespace core
