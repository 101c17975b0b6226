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

}  // namespace

QString copyIntoBook(const QString& sourcePath, const QDir& book, const QString& name,
                     const OverwriteQuestion& mayReplace) {
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
    QFile in(from.filePath());
    if (!in.copy(partial)) {
        QFile::remove(partial);
        return in.errorString();
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
