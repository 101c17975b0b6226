// A book's file opened on POSIX systems: every link is resolved before anything is opened, so
// nothing outside the book is ever opened.
#include "book_file_open.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::bookfile {
namespace {

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

}  // namespace

OpenFile::OpenFile(const QDir& book, const QString& name) {
    const QByteArray path = QFile::encodeName(book.absoluteFilePath(name));
    const QByteArray folder = canonical(QFile::encodeName(book.absolutePath()));
    if (folder.isEmpty()) {
        refusal_ = Refusal::Missing;
        return;
    }
    const QByteArray real = canonical(path);
    if (real.isEmpty()) {
        refusal_ = errno == ENOENT || errno == ENOTDIR ? Refusal::Missing : Refusal::Unreadable;
        return;
    }
    if (real == folder) {
        refusal_ = Refusal::NotRegular;
        return;
    }
    if (!isInside(real, folder)) {
        struct stat link {};
        const bool isLink = ::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode);
        refusal_ = isLink ? Refusal::LinkOutside : Refusal::PathOutside;
        return;
    }

    // Non-blocking, so a FIFO or device returns at once; its type is then checked on the
    // descriptor itself, which no later renaming can change.
    const int fd = ::open(real.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        refusal_ = errno == ENOENT ? Refusal::Missing : Refusal::Unreadable;
        return;
    }
    handle_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return;
    if (!S_ISREG(st.st_mode)) {
        refusal_ = Refusal::NotRegular;
        return;
    }
    size_ = st.st_size;
    refusal_ = Refusal::None;
}

OpenFile::~OpenFile() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

qint64 OpenFile::read(char* into, qint64 max) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(handle_), into, static_cast<size_t>(max));
        if (got >= 0 || errno != EINTR) return got;
    }
}

}  // namespace platform::bookfile
