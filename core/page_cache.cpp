#include "page_cache.h"

#include "catalog.h"

#include <QtConcurrent/qtconcurrenttask.h>
#include <QFileInfo>

#include <algorithm>

namespace core {

platform::PictureLoad loadPagePicture(const QDir& book, const QString& name, QSize pixels,
                                      const std::atomic<bool>* stop) {
    if (!isBareFileName(name)) return {{}, QStringLiteral("文件名不在本书目录内")};
    return platform::loadPicture(book.filePath(name), pixels, stop);
}

platform::PictureLoad loadPageThumbnail(const QDir& book, const QString& name, QSize pixels) {
    if (!isBareFileName(name)) return {{}, QStringLiteral("文件名不在本书目录内")};
    return platform::loadThumbnail(book.filePath(name), pixels);
}

bool PageCache::isDone(const Entry& entry) {
    // A future not started yet counts as finished but has no result.
    return entry.decode.isFinished() && entry.decode.resultCount() > 0;
}

qint64 PageCache::bytesOf(const Entry& entry) {
    if (isDone(entry)) return entry.decode.result().picture.memoryBytes();
    // Not decoded yet: at most the viewport's pixels at four bytes each and the file's bytes.
    return qint64(entry.pixels.width()) * entry.pixels.height() * 4 + entry.fileBytes;
}

qint64 PageCache::heldBytes() const {
    qint64 sum = 0;
    for (const Entry& e : entries_) sum += bytesOf(e);
    return sum;
}

std::vector<PageCache::Entry>::iterator PageCache::find(const QString& path, QSize pixels) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return e.path == path && e.pixels == pixels; });
}

bool PageCache::isReady(const QDir& book, const QString& name, QSize pixels) const {
    const QString path = book.filePath(name);
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.path == path && e.pixels == pixels && isDone(e);
    });
}

PageCache::Entry PageCache::start(const QDir& book, const QString& name, QSize pixels,
                                  int priority) {
    const QString path = book.filePath(name);
    Entry entry{path,
                pixels,
                {},
                ++clock_,
                qBound(qint64(0), QFileInfo(path).size(), platform::kMaxPictureBytes),
                std::make_shared<std::atomic<bool>>(false)};
    // The worker gets copies: the cache may be gone or changed before it runs.
    entry.decode =
        QtConcurrent::task([decoder = decoder_, book = QDir(book), name = QString(name), pixels,
                            stop = entry.stop] { return decoder(book, name, pixels, stop.get()); })
            .withPriority(priority)
            .spawn();
    return entry;
}

bool PageCache::stop(const Entry& entry) {
    if (!entry.stop || isDone(entry)) return false;
    entry.stop->store(true);
    return true;
}

QFuture<platform::PictureLoad> PageCache::request(const QDir& book, const QString& name,
                                                  QSize pixels) {
    const QString path = book.filePath(name);
    requested_ = path;
    const auto it = find(path, pixels);
    if (it != entries_.end()) {
        it->lastUse = ++clock_;
        return it->decode;
    }
    Entry entry = start(book, name, pixels, 1);
    QFuture<platform::PictureLoad> decode = entry.decode;
    if (makeRoom(bytesOf(entry), {path})) entries_.push_back(std::move(entry));
    return decode;
}

platform::PictureLoad PageCache::take(const QDir& book, const QString& name, QSize pixels) {
    const QString path = book.filePath(name);
    const auto it = find(path, pixels);
    if (it != entries_.end() && isDone(*it) && it->decode.result().ok()) {
        it->lastUse = ++clock_;
        return it->decode.result();
    }
    // A failure is not kept (the file may be there by the next visit), and a decode under way is
    // not waited for.
    if (it != entries_.end()) {
        stop(*it);
        entries_.erase(it);
    }
    platform::PictureLoad load = decoder_(book, name, pixels, nullptr);
    if (load.ok()) {
        Entry entry{path, pixels, QtFuture::makeReadyFuture(load), ++clock_, 0, {}};
        if (makeRoom(bytesOf(entry), {path})) entries_.push_back(std::move(entry));
    }
    return load;
}

bool PageCache::makeRoom(qint64 extra, const QStringList& keep) {
    qint64 held = heldBytes();
    qsizetype count = entries_.size();
    while (held + extra > budget_ || count >= maxPages_) {
        auto victim = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (keep.contains(it->path) || it->path == requested_) continue;
            if (victim == entries_.end() || it->lastUse < victim->lastUse) victim = it;
        }
        if (victim == entries_.end()) return false;
        // A running decode finishes on its worker; its result is simply not kept.
        stop(*victim);
        held -= bytesOf(*victim);
        --count;
        entries_.erase(victim);
    }
    return true;
}

void PageCache::prefetch(const QDir& book, const QStringList& names, QSize pixels) {
    if (pixels.isEmpty()) return;
    QStringList keep;
    for (const QString& name : names) keep.append(book.filePath(name));
    // Pictures decoded for another viewport size will not be shown again as they are, and
    // pages passed by need not be decoded at all.
    std::erase_if(entries_, [&](const Entry& e) {
        if (e.pixels != pixels && isDone(e)) return true;
        return !keep.contains(e.path) && e.path != requested_ && stop(e);
    });
    for (const QString& name : names) {
        const QString path = book.filePath(name);
        const auto it = find(path, pixels);
        if (it != entries_.end()) {
            it->lastUse = ++clock_;
            continue;
        }
        const qint64 expected =
            qint64(pixels.width()) * pixels.height() * 4 +
            qBound(qint64(0), QFileInfo(path).size(), platform::kMaxPictureBytes);
        if (!makeRoom(expected, keep)) break;
        entries_.push_back(start(book, name, pixels, 0));
    }
}

void PageCache::waitForIdle() {
    for (Entry& e : entries_) e.decode.waitForFinished();
}

void PageCache::clear() {
    // Each worker holds its own copies and shares only the stop flag, so it may be forgotten
    // while it runs: a reload over a slow medium never waits for it.
    for (const Entry& e : entries_) stop(e);
    entries_.clear();
    requested_.clear();
}

}  // namespace core
