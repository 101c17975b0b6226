#pragma once

// A book folder beside a folder that is not the book, and the kinds of file a hostile book holds.

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testbook {

enum class Kind { Bytes, Picture, Folder, Fifo, Link, Sparse };

// One entry to make in the book. A link's target is `bytes`; in the bytes of any entry "@out/"
// stands for the outside folder.
struct File {
    const char* name;
    Kind kind;
    QByteArray bytes = {};
    qint64 size = 0;  // of a sparse file
};

const QByteArray kSecret = "SECRET OUTSIDE THE BOOK";
const QColor kOutsideColor(255, 0, 255);

// FIFOs and symbolic links are made only where POSIX makes them.
inline bool madeHere(const std::vector<File>& files) {
#ifdef _WIN32
    return std::none_of(files.begin(), files.end(),
                        [](const File& f) { return f.kind == Kind::Fifo || f.kind == Kind::Link; });
#else
    (void)files;
    return true;
#endif
}

struct Folders {
    QTemporaryDir book;
    QTemporaryDir outside{QDir::tempPath() + QStringLiteral("/outsideXXXXXX")};

    QString path(const char* name) const { return book.filePath(QString::fromUtf8(name)); }
    QByteArray resolved(QByteArray bytes) const {
        return bytes.replace("@out/", QFile::encodeName(outside.path()) + '/');
    }

    // Outside: a text, and a picture in a colour no book picture has (named without a dot, so a
    // catalog title keeps its whole path).
    void makeOutside() const {
        ASSERT_TRUE(book.isValid() && outside.isValid());
        ASSERT_TRUE(testfiles::write(outside.filePath(QStringLiteral("secret.txt")), kSecret));
        QImage image(300, 300, QImage::Format_RGB32);
        image.fill(kOutsideColor);
        ASSERT_TRUE(image.save(outside.filePath(QStringLiteral("pic")), "PNG"));
    }

    void make(const File& f) const {
        switch (f.kind) {
            case Kind::Bytes:
                ASSERT_TRUE(testfiles::write(path(f.name), resolved(f.bytes)));
                return;
            case Kind::Picture: {
                QImage image(64, 48, QImage::Format_RGB32);
                image.fill(Qt::darkGreen);
                ASSERT_TRUE(image.save(path(f.name), "JPG"));
                return;
            }
            case Kind::Folder:
                ASSERT_TRUE(QDir(book.path()).mkdir(QString::fromUtf8(f.name)));
                return;
            case Kind::Sparse: {
                QFile file(path(f.name));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(f.size));
                return;
            }
#ifndef _WIN32
            case Kind::Fifo:
                ASSERT_EQ(::mkfifo(QFile::encodeName(path(f.name)), 0600), 0);
                return;
            case Kind::Link:
                ASSERT_EQ(::symlink(resolved(f.bytes), QFile::encodeName(path(f.name))), 0);
                return;
#else
            case Kind::Fifo:
            case Kind::Link:
                FAIL() << "not made on this system: skip the case with madeHere()";
#endif
        }
    }
    void make(const std::vector<File>& files) const {
        for (const File& f : files) ASSERT_NO_FATAL_FAILURE(make(f));
    }
};

}  // namespace testbook
