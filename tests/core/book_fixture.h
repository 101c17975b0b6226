#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

// A small book written into a temporary directory: pictures made here, texts and a catalog.
class BookFixture {
  public:
    QTemporaryDir dir;

    QDir book() const { return QDir(dir.path()); }

    void picture(const QString& name, int w, int h, QColor color = Qt::darkGreen) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(color);
        image.save(dir.filePath(name));
    }
    void file(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    void catalog(const QByteArray& lines) { file(QStringLiteral("DocItem.txt"), lines); }
};
