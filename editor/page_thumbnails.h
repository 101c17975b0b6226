#pragma once

#include <QDir>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QSize>

namespace editor {

// Thumbnails of a book's pictures, decoded on worker threads at thumbnail size (upright,
// metafiles drawn) the first time one is asked for, and kept. Until then, and for a picture that
// is missing or refused, a marked placeholder stands in, so a long book opens at once and fills
// in as the pages come into view.
class PageThumbnails : public QObject {
    Q_OBJECT
  public:
    explicit PageThumbnails(const QDir& book, QSize size, QObject* parent = nullptr);
    ~PageThumbnails() override;

    QSize size() const { return size_; }
    // The thumbnail of picture `name`, or a placeholder while it is decoded (started here).
    QPixmap thumbnail(const QString& name);
    // Whether `name` could not be shown (missing, unreadable or refused).
    bool failed(const QString& name) const { return failed_.contains(name); }
    // Forgets every thumbnail (the files may have changed).
    void clear();
    // Handles events until no decode runs; for tests and benchmarks.
    void waitForIdle();

  signals:
    void ready(const QString& name);

  private:
    void finished(const QString& name, const QImage& image, quint64 generation);

    QDir book_;
    QSize size_;
    QPixmap waiting_, missing_;
    QHash<QString, QPixmap> done_;
    QSet<QString> running_, failed_;
    quint64 generation_ = 0;  // a decode started before clear() is not kept
};

}  // namespace editor
