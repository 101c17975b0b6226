// A book's file opened on Windows. A link cannot be resolved there without opening it, and opening
// a link's target could reach anywhere (even a server that is sent the user's credentials), so the
// name is first checked as written, its last part is opened without following any link, and the
// opened file is checked again by the path Windows reports for it.
#include "book_file_open.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace platform::bookfile {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

const wchar_t* wide(const QString& s) {
    return reinterpret_cast<const wchar_t*>(s.utf16());
}

// The path in the `\\?\` form Windows takes literally, so "con" or "nul.txt" in a book is a file
// of the book, never a device.
QString literalPath(const QString& absolute) {
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(absolute));
    if (native.startsWith(QLatin1String("\\\\?\\"))) return native;
    if (native.startsWith(QLatin1String("\\\\")))
        return QLatin1String("\\\\?\\UNC\\") + native.mid(2);
    return QLatin1String("\\\\?\\") + native;
}

// Where the handle's file really is, every link resolved, or an empty string. The answer keeps
// its `\\?\` (or `\\?\UNC\`) prefix: paths are only compared with other answers of this call.
QString finalPath(HANDLE h) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD n = ::GetFinalPathNameByHandleW(h, buffer.data(), DWORD(buffer.size()),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return {};
        if (n < buffer.size()) return QString::fromWCharArray(buffer.data(), int(n));
        buffer.resize(n);  // too small: n is the size needed, its terminating null included
    }
    return {};
}

// Names on Windows match whatever their case.
bool isInside(const QString& path, const QString& folder) {
    const QString prefix = folder.endsWith(QLatin1Char('\\')) ? folder : folder + QLatin1Char('\\');
    return path.size() > prefix.size() && path.startsWith(prefix, Qt::CaseInsensitive);
}

bool isFolder(const QString& path, const QString& folder) {
    return path.compare(folder, Qt::CaseInsensitive) == 0;
}

}  // namespace

OpenFile::OpenFile(const QDir& book, const QString& name) {
    const QString bookPath = literalPath(book.absolutePath());
    const QString path = literalPath(book.absoluteFilePath(name));
    if (!isFolder(path, bookPath) && !isInside(path, bookPath)) {
        refusal_ = Refusal::PathOutside;
        return;
    }
    // The book's folder itself may be reached through links; its handle only names it.
    const HANDLE dir = ::CreateFileW(wide(bookPath), 0, kShareAll, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) {
        refusal_ = Refusal::Missing;
        return;
    }
    const QString folder = finalPath(dir);
    ::CloseHandle(dir);
    if (folder.isEmpty()) {
        refusal_ = Refusal::Missing;
        return;
    }

    // Backup semantics let a folder open too, so it is refused by its type like anything else.
    const HANDLE h =
        ::CreateFileW(wide(path), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        refusal_ = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                       ? Refusal::Missing
                       : Refusal::Unreadable;
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    const QString real = finalPath(h);  // a folder on the way may still have been a link
    if (real.isEmpty()) return;
    if (isFolder(real, folder)) {
        refusal_ = Refusal::NotRegular;
        return;
    }
    if (!isInside(real, folder)) {
        refusal_ = Refusal::PathOutside;
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) return;
    // A link (any reparse point) is not read through; nor a folder, a pipe or a device.
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        ::GetFileType(h) != FILE_TYPE_DISK) {
        refusal_ = Refusal::NotRegular;
        return;
    }
    size_ = (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    refusal_ = Refusal::None;
}

OpenFile::~OpenFile() {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

qint64 OpenFile::read(char* into, qint64 max) {
    DWORD got = 0;
    const DWORD want = DWORD(qMin<qint64>(max, 1 << 30));
    if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), into, want, &got, nullptr)) return -1;
    return got;
}

}  // namespace platform::bookfile
