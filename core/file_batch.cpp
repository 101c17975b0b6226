#include "file_batch.h"

#include "catalog.h"

#include <QFileInfo>
#include <QSaveFile>

#include <memory>

namespace core {

void FileBatch::add(const QString& name, const QByteArray& bytes) {
    entries_.push_back({name, bytes});
}

QString FileBatch::commit(QString* failedName) {
    std::vector<std::unique_ptr<QSaveFile>> written;
    const auto failed = [failedName](const Entry& e, const QString& why) {
        if (failedName) *failedName = e.name;
        return why;
    };
    for (const Entry& e : entries_) {
        // A catalog may name anything; only a file of the book itself is written, never through
        // a link to somewhere else.
        if (!isBareFileName(e.name)) return failed(e, QStringLiteral("文件名不在本书目录内"));
        if (QFileInfo(book_.filePath(e.name)).isSymLink())
            return failed(e, QStringLiteral("是符号链接，为安全起见没有改写"));
        auto file = std::make_unique<QSaveFile>(book_.filePath(e.name));
        // Unbuffered, so a short write (a full disk) is seen here and not at the rename.
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failed(e, file->errorString());
        if (file->write(e.bytes) != e.bytes.size()) {
            file->cancelWriting();
            return failed(e, QStringLiteral("写入没有完成（磁盘已满或文件过大）"));
        }
        written.push_back(std::move(file));
    }
    // Every file is complete beside its place; an early return above removed them all.
    for (size_t i = 0; i < written.size(); ++i)
        if (!written[i]->commit()) return failed(entries_[i], written[i]->errorString());
    entries_.clear();
    return {};
}

}  // namespace core
