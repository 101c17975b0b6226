#include "book_file.h"

#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

BookFileRead refused(const QString& reason, bool missing = false) {
    BookFileRead r;
    r.error = reason;
    r.missing = missing;
    return r;
}

// The path with every link resolved, or an empty string (errno tells why).
QByteArray canonical(const QByteArray& path) {
    char* resolved = ::realpath(path.constData(), nullptr);
    if (!resolved) return {};
    QByteArray result(resolved);
    std::free(resolved);
    return result;
}

bool isInside(const QByteArray& path, const QByteArray& folder) {
    if (folder == "/") return path.startsWith('/') && path.size() > 1;
    return path.size() > folder.size() + 1 && path.startsWith(folder) && path[folder.size()] == '/';
}

QString mebibytes(qint64 bytes) {
    return QString::number(bytes / (1024 * 1024));
}

}  // namespace

BookFileRead readBookFile(const QDir& book, const QString& name, qint64 maxBytes) {
    if (name.isEmpty() || name.contains(QChar(0))) return refused(QStringLiteral("文件名无效"));
    const QByteArray path = QFile::encodeName(book.absoluteFilePath(name));
    const QByteArray folder = canonical(QFile::encodeName(book.absolutePath()));
    if (folder.isEmpty()) return refused(QStringLiteral("文件不存在"), true);

    // Resolve links before opening anything, so nothing outside the book is ever opened.
    const QByteArray real = canonical(path);
    if (real.isEmpty()) {
        if (errno == ENOENT || errno == ENOTDIR) return refused(QStringLiteral("文件不存在"), true);
        return refused(QStringLiteral("无法读取文件"));
    }
    if (real == folder) return refused(QStringLiteral("不是普通文件"));
    if (!isInside(real, folder)) {
        struct stat link {};
        const bool isLink = ::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode);
        return refused(isLink ? QStringLiteral("链接指向本书目录以外")
                              : QStringLiteral("文件不在本书目录内"));
    }

    // Non-blocking, so a FIFO or device returns at once; its type is then checked on the
    // descriptor itself, which no later renaming can change.
    const int fd = ::open(real.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (errno == ENOENT) return refused(QStringLiteral("文件不存在"), true);
        return refused(QStringLiteral("无法读取文件"));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return refused(QStringLiteral("无法读取文件"));
    if (!S_ISREG(st.st_mode)) return refused(QStringLiteral("不是普通文件"));
    const auto tooLarge = [maxBytes] {
        return refused(QStringLiteral("文件过大（超过 %1 MB）").arg(mebibytes(maxBytes)));
    };
    if (st.st_size > maxBytes) return tooLarge();

    // Read to the end, but never past the cap: the file may grow while it is read.
    BookFileRead r;
    qint64 filled = 0;
    r.bytes.resize(qMin<qint64>(qMax<qint64>(st.st_size, 0), maxBytes) + 1);
    for (;;) {
        if (filled == r.bytes.size()) {
            if (filled > maxBytes) return tooLarge();
            r.bytes.resize(qMin<qint64>(filled * 2 + 4096, maxBytes + 1));
        }
        const ssize_t got =
            ::read(fd, r.bytes.data() + filled, static_cast<size_t>(r.bytes.size() - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return refused(QStringLiteral("无法读取文件"));
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
