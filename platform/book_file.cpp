#include "book_file.h"

#include "book_file_open.h"

#include <QFileInfo>

namespace platform {
namespace {

using bookfile::Refusal;

BookFileRead refused(const QString& reason, bool missing = false) {
    BookFileRead r;
    r.error = reason;
    r.missing = missing;
    return r;
}

BookFileRead refused(Refusal why) {
    switch (why) {
        case Refusal::Missing:
            return refused(QStringLiteral("文件不存在"), true);
        case Refusal::NotRegular:
            return refused(QStringLiteral("不是普通文件"));
        case Refusal::LinkOutside:
            return refused(QStringLiteral("链接指向本书目录以外"));
        case Refusal::PathOutside:
            return refused(QStringLiteral("文件不在本书目录内"));
        case Refusal::None:
        case Refusal::Unreadable:
            break;
    }
    return refused(QStringLiteral("无法读取文件"));
}

QString mebibytes(qint64 bytes) {
    return QString::number(bytes / (1024 * 1024));
}

}  // namespace

BookFileRead readBookFile(const QDir& book, const QString& name, qint64 maxBytes) {
    if (name.isEmpty() || name.contains(QChar(0))) return refused(QStringLiteral("文件名无效"));
    bookfile::OpenFile file(book, name);
    if (file.refusal() != Refusal::None) return refused(file.refusal());
    const auto tooLarge = [maxBytes] {
        return refused(QStringLiteral("文件过大（超过 %1 MB）").arg(mebibytes(maxBytes)));
    };
    if (file.size() > maxBytes) return tooLarge();

    // Read to the end, but never past the cap: the file may grow while it is read.
    BookFileRead r;
    qint64 filled = 0;
    r.bytes.resize(qMin<qint64>(qMax<qint64>(file.size(), 0), maxBytes) + 1);
    for (;;) {
        if (filled == r.bytes.size()) {
            if (filled > maxBytes) return tooLarge();
            r.bytes.resize(qMin<qint64>(filled * 2 + 4096, maxBytes + 1));
        }
        const qint64 got = file.read(r.bytes.data() + filled, r.bytes.size() - filled);
        if (got < 0) return refused(Refusal::Unreadable);
        if (got == 0) break;
        filled += got;
    }
    if (filled > maxBytes) return tooLarge();
    r.bytes.truncate(filled);
    return r;
}

BookFileRead readBookFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    return readBookFile(info.absoluteDir(), info.fileName(), maxBytes);
}

}  // namespace platform
