#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include <vector>

namespace core {

// Files of a book replaced together: every one is first written in full beside its place, and
// none is put in place unless all of them were written. A full disk or a read-only book thus
// leaves each file byte for byte as it was; only the final renames, which need no space, remain.
class FileBatch {
  public:
    explicit FileBatch(const QDir& book) : book_(book) {}

    // `name` is to hold `bytes`; files are put in place in the order they were added.
    void add(const QString& name, const QByteArray& bytes);
    // Writes them all; empty on success, else why not, with the file that failed in `failed`.
    QString commit(QString* failed = nullptr);

  private:
    struct Entry {
        QString name;
        QByteArray bytes;
    };
    QDir book_;
    std::vector<Entry> entries_;
};

}  // namespace core
