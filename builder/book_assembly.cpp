#include "book_assembly.h"

#include "core/catalog_loader.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace builder {
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

// Copies one file into the book; returns why it failed, or an empty string.
QString copyIntoBook(const QDir& source, const QDir& book, const QString& name,
                     const OverwriteQuestion& mayReplace) {
    const QFileInfo from(source.filePath(name));
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

}  // namespace

AssemblyReport assembleBook(const QDir& source, const QDir& book,
                            const std::vector<SelectedPage>& pages,
                            const OverwriteQuestion& mayReplace) {
    AssemblyReport report;
    std::vector<core::CatalogRow> rows;
    rows.reserve(pages.size());
    for (const SelectedPage& page : pages) {
        rows.push_back(core::pageRow(page.image, page.text, int(rows.size()) + 1));
        for (const QString& name : {page.image, page.text}) {
            if (name.isEmpty()) continue;
            const QString failure = copyIntoBook(source, book, name, mayReplace);
            if (!failure.isEmpty())
                report.copyFailures.append(name + QStringLiteral("：") + failure);
        }
    }

    // Written after the copies, so a text file of the catalog's own name never replaces it.
    report.catalogError = core::saveCatalog(book, rows);
    return report;
}

QString completionMessage(const AssemblyReport& report) {
    if (report.ok()) return QStringLiteral("已经制作好图文播放目录，可以使用。");
    QStringList lines;
    if (!report.catalogError.isEmpty())
        lines << QStringLiteral("目录文件 DocItem.txt 没有保存：%1。原有的目录保持不变。")
                     .arg(report.catalogError);
    if (!report.copyFailures.isEmpty())
        lines << QStringLiteral("以下文件没有复制到当前目录：") << report.copyFailures;
    return lines.join(QLatin1Char('\n'));
}

}  // namespace builder
