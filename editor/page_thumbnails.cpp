#include "page_thumbnails.h"

#include "core/page_cache.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QPainter>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace editor {
namespace {

QPixmap placeholder(QSize size, bool failed) {
    QPixmap p(size);
    p.fill(QColor(235, 235, 235));
    QPainter painter(&p);
    painter.setPen(QPen(failed ? QColor(200, 0, 0) : QColor(180, 180, 180), 2));
    painter.drawRect(QRect(QPoint(1, 1), size - QSize(2, 2)));
    // A missing picture is crossed out, so it is told apart from one still on its way.
    if (failed) {
        painter.drawLine(QPoint(4, 4), QPoint(size.width() - 5, size.height() - 5));
        painter.drawLine(QPoint(size.width() - 5, 4), QPoint(4, size.height() - 5));
    }
    return p;
}

// The picture drawn centred into a square of `size`, as the grid shows every page alike.
QImage thumbnailOf(const QDir& book, const QString& name, QSize size) {
    // Through the page reader's rules: a name that is not a bare file name of the book is
    // refused, and so are links out of it, devices and oversized files.
    const platform::PictureLoad load = core::loadPageThumbnail(book, name, size);
    if (!load.ok() || load.picture.isNull()) return {};
    const QSizeF natural = load.picture.naturalSize();
    if (natural.isEmpty()) return {};
    const QSizeF fitted = natural.scaled(QSizeF(size), Qt::KeepAspectRatio);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF target(
        QPointF((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2),
        fitted);
    load.picture.paint(painter, target);
    return image;
}

}  // namespace

PageThumbnails::PageThumbnails(const QDir& book, QSize size, QObject* parent)
    : QObject(parent),
      book_(book),
      size_(size),
      waiting_(placeholder(size, false)),
      missing_(placeholder(size, true)) {}

PageThumbnails::~PageThumbnails() {
    ++generation_;
}

QPixmap PageThumbnails::thumbnail(const QString& name) {
    if (const auto it = done_.constFind(name); it != done_.constEnd()) return *it;
    if (failed_.contains(name) || name.isEmpty()) return missing_;
    if (!running_.contains(name)) {
        running_.insert(name);
        auto* watcher = new QFutureWatcher<QImage>(this);
        const quint64 generation = generation_;
        connect(watcher, &QFutureWatcherBase::finished, this, [=, this] {
            watcher->deleteLater();
            finished(name, watcher->result(), generation);
        });
        watcher->setFuture(QtConcurrent::run(thumbnailOf, book_, name, size_));
    }
    return waiting_;
}

void PageThumbnails::finished(const QString& name, const QImage& image, quint64 generation) {
    if (generation != generation_) return;
    running_.remove(name);
    if (image.isNull())
        failed_.insert(name);
    else
        done_.insert(name, QPixmap::fromImage(image));
    emit ready(name);
}

void PageThumbnails::clear() {
    ++generation_;
    done_.clear();
    running_.clear();
    failed_.clear();
}

void PageThumbnails::waitForIdle() {
    // An event loop, not a spin: the workers keep every core.
    QEventLoop loop;
    const auto check = [&] {
        if (running_.isEmpty()) loop.quit();
    };
    const QMetaObject::Connection c = connect(this, &PageThumbnails::ready, &loop, check);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (!running_.isEmpty()) loop.exec();
    disconnect(c);
}

}  // namespace editor
