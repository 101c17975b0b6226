#pragma once

#include "platform/picture.h"

#include <QDir>
#include <QFuture>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace core {

// Decodes a page's picture without touching any widget or screen: `pixels` is the viewport's size
// in device pixels, and a larger picture is decoded just large enough to fill it. A name that
// is not a bare file name of the book is refused.
platform::PictureLoad loadPagePicture(const QDir& book, const QString& name, QSize pixels,
                                      const std::atomic<bool>* stop = nullptr);
// The same for a thumbnail of `pixels`, which a camera's own small copy may give.
platform::PictureLoad loadPageThumbnail(const QDir& book, const QString& name, QSize pixels);

// How a page's picture is decoded: loadPagePicture, or what a test puts in its place.
using PageDecoder = std::function<platform::PictureLoad(
    const QDir& book, const QString& name, QSize pixels, const std::atomic<bool>* stop)>;

// The pictures of the pages around the one shown, decoded ahead on worker threads at the size
// the viewport needs, within a memory budget. Used from one thread (the GUI thread), which never
// waits for a worker: only the decoding runs elsewhere, on copies of its inputs, so a decode
// dropped while it runs finishes unseen.
class PageCache {
  public:
    // Viewport-sized pictures of a few pages fit easily; a full-resolution one is never kept.
    static constexpr qint64 kDefaultBudget = 96LL * 1024 * 1024;
    // The page shown, the pages either side and the ones being decoded while turning fast:
    // more are not kept, so reading a long book holds no more than a short one.
    static constexpr int kDefaultPages = 6;

    explicit PageCache(qint64 budgetBytes = kDefaultBudget, int maxPages = kDefaultPages,
                       PageDecoder decoder = loadPagePicture)
        : budget_(budgetBytes), maxPages_(maxPages), decoder_(std::move(decoder)) {}
    // Stops the decodes under way and waits for none of them.
    ~PageCache() { clear(); }
    PageCache(const PageCache&) = delete;
    PageCache& operator=(const PageCache&) = delete;
    // What decodes the pages from the next decode on: a test stands in a slow medium with it.
    void setDecoder(PageDecoder decoder) { decoder_ = std::move(decoder); }

    // The picture of `name` for a viewport of `pixels`: the one decoded ahead, or else decoded
    // now on the calling thread. A decode of it under way is stopped, not waited for: it may be
    // stuck on a slow medium (a caller that must not decode here asks request()).
    platform::PictureLoad take(const QDir& book, const QString& name, QSize pixels);
    // The picture of `name` as a future that a worker fulfils: the decode under way, or one
    // started now ahead of every decode still queued. The page last requested is not dropped to
    // make room for others.
    QFuture<platform::PictureLoad> request(const QDir& book, const QString& name, QSize pixels);
    // Starts decoding `names` (nearest first) in the background. Pictures of other pages are
    // dropped, least recently used first, until the wanted ones fit the budget; a page that
    // would not fit is not decoded ahead. Decodes of pages no longer wanted are stopped, queued
    // or running, so turning fast never leaves the workers a backlog.
    void prefetch(const QDir& book, const QStringList& names, QSize pixels);
    // Drops everything (a new catalog, a new book); decodes under way are stopped and forgotten.
    void clear();
    // Waits until no decode of a picture kept runs; for tests and benchmarks.
    void waitForIdle();

    qint64 budget() const { return budget_; }
    // Bytes held by the pictures kept, counting a running decode at its expected size.
    qint64 heldBytes() const;
    int heldCount() const { return int(entries_.size()); }
    // Whether `name` at `pixels` is decoded and kept.
    bool isReady(const QDir& book, const QString& name, QSize pixels) const;

  private:
    struct Entry {
        QString path;  // the book's directory and the name: one key per book and page
        QSize pixels;
        QFuture<platform::PictureLoad> decode;
        std::uint64_t lastUse = 0;
        qint64 fileBytes = 0;  // counted with the pixels until the decode is done
        std::shared_ptr<std::atomic<bool>> stop;  // shared with the worker
    };
    Entry start(const QDir& book, const QString& name, QSize pixels, int priority);
    // Stops the entry's decode if it is not done; true when it was not.
    static bool stop(const Entry& entry);
    static bool isDone(const Entry& entry);
    static qint64 bytesOf(const Entry& entry);
    std::vector<Entry>::iterator find(const QString& path, QSize pixels);
    // Drops entries not in `keep` until `extra` more bytes fit; false when they cannot.
    bool makeRoom(qint64 extra, const QStringList& keep);

    qint64 budget_;
    int maxPages_;
    PageDecoder decoder_;
    std::uint64_t clock_ = 0;
    QString requested_;  // the path last asked for by request()
    std::vector<Entry> entries_;
};

}  // namespace core
