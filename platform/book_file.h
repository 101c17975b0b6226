#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

namespace platform {

// The one way a book's file is read. A book is handed around by anyone, so a file in it is read
// only when it is a regular file inside the book's folder tree (a symbolic link counts by where it
// leads) and no larger than the caller's cap. Nothing is opened that could block or that lies
// outside the book.
struct BookFileRead {
    QByteArray bytes;
    QString error;         // empty on success; otherwise the reason, for the user
    bool missing = false;  // the file (or a link's target) does not exist
    bool ok() const { return error.isEmpty(); }
};

BookFileRead readBookFile(const QDir& book, const QString& name, qint64 maxBytes);

// Reads the file at `path` by the same rules, its own folder taken as the book.
BookFileRead readBookFile(const QString& path, qint64 maxBytes);

}  // namespace platform
