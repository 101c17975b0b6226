#include "book_files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace core {
namespace {

bool existsOrDangles(const QFileInfo& info) {
    return info.exists() || info.isSymLink();
}

// A name for a copy in progress beside its final place, so an unfinished copy never stands
// where the old file was.
QString partialName(const QDir& book, const QString& name) {
    for (;;) {
        const QString candidate = book.filePath(
            QStringLiteral(".%1.%2.part")
                .arg(name)
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!existsOrDangles(QFileInfo(candidate))) return candidate;
    }
}

// Copies in pieces, so a large picture from a slow medium can be stopped part of the way.
QString copyTo(const QString& sourcePath, const QString& partial, const CopyProgress& progress) {
    QFile in(sourcePath);
    QFile out(partial);
    if (!in.open(QIODevice::ReadOnly)) return in.errorString();
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return out.errorString();
    constexpr qint64 kPiece = 1 << 20;
    QByteArray piece(kPiece, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        if (progress && !progress(copied)) return QStringLiteral("已取消");
        const qint64 n = in.read(piece.data(), kPiece);
        if (n < 0) return in.errorString();
        if (n == 0) break;
        if (out.write(piece.constData(), n) != n) return out.errorString();
        copied += n;
    }
    return out.flush() ? QString() : out.errorString();
}

}  // namespace

QString copyIntoBook(const QString& sourcePath, const QDir& book, const QString& name,
                     const OverwriteQuestion& mayReplace, const CopyProgress& progress) {
    const QFileInfo from(sourcePath);
    const QFileInfo to(book.filePath(name));
    if (existsOrDangles(to)) {
        // The source directory may be the book itself: the file is already where it belongs.
        if (from.exists() && from.canonicalFilePath() == to.canonicalFilePath()) return {};
        if (!mayReplace(name)) return {};
    }
    // Only a plain file is copied: a pipe or device would block or never end.
    if (!from.isFile()) return QStringLiteral("源文件不存在或不是普通文件");

    const QString partial = partialName(book, name);
    if (const QString failure = copyTo(from.filePath(), partial, progress); !failure.isEmpty()) {
        QFile::remove(partial);
        return failure;
    }
    // Renaming replaces the old file in one step: it is there until the new one is complete.
    std::error_code error;
    std::filesystem::rename(partial.toStdU16String(), to.filePath().toStdU16String(), error);
    if (error) {
        QFile::remove(partial);
        return QString::fromLocal8Bit(error.message());
    }
    return {};
}

namespace {

bool sameBytes(const QString& a, const QString& b) {
    // Only plain files are read: a pipe would block.
    if (!QFileInfo(a).isFile() || !QFileInfo(b).isFile()) return false;
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd()) {
        const QByteArray chunk = fa.read(1 << 20);
        if (chunk.isEmpty() || chunk != fb.read(chunk.size())) return false;
    }
    return true;
}

}  // namespace

QString nameInBook(const QDir& book, const QString& sourcePath) {
    QString name = QFileInfo(sourcePath).fileName();
    for (QChar& c : name)
        if (c == QLatin1Char('-') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char('_');
    const QString base = QFileInfo(name).completeBaseName();
    const QString suffix = QFileInfo(name).suffix();
    for (int n = 1; n < 10000; ++n) {
        const QString candidate =
            n == 1 ? name
                   : QStringLiteral("%1 (%2)%3")
                         .arg(base)
                         .arg(n)
                         .arg(suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
        const QFileInfo there(book.filePath(candidate));
        if (!existsOrDangles(there) || sameBytes(there.filePath(), sourcePath)) return candidate;
    }
    return {};
}

}  // namespace core
