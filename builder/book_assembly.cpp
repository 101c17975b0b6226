#include "book_assembly.h"

#include "core/book.h"
#include "core/book_files.h"
#include "core/catalog_loader.h"

#include <QFileInfo>

namespace builder {

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
            const QString failure =
                core::copyIntoBook(source.filePath(name), book, name, mayReplace);
            if (!failure.isEmpty())
                report.copyFailures.append(name + QStringLiteral("：") + failure);
        }
    }

    // Written after the copies, so a text file of the catalog's own name never replaces it.
    core::Book written(book);
    written.append(std::move(rows));
    report.catalogError = written.save();
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
