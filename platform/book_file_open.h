#pragma once

// What each system supplies to readBookFile: a book's file opened by that system's own means,
// checked to be a regular file inside the book, or the reason it was refused.

#include <QDir>
#include <QString>

#include <cstdint>

namespace platform::bookfile {

enum class Refusal { None, Missing, Unreadable, NotRegular, LinkOutside, PathOutside };

class OpenFile {
  public:
    OpenFile(const QDir& book, const QString& name);
    ~OpenFile();
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    Refusal refusal() const { return refusal_; }
    qint64 size() const { return size_; }
    // Bytes read into `into` (at most `max`), 0 at the end, -1 on an error.
    qint64 read(char* into, qint64 max);

  private:
    Refusal refusal_ = Refusal::Unreadable;
    qint64 size_ = 0;
    std::intptr_t handle_ = -1;  // a descriptor, or a HANDLE; -1 is "none" for both
};

}  // namespace platform::bookfile
