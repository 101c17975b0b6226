#include "catalog_loader.h"

#include "catalog.h"

#include "platform/book_file.h"

#include <QFile>

namespace core {
namespace {
// Far beyond any real catalog (32767 lines of long names); a larger file is refused unread.
constexpr qint64 kMaxCatalogBytes = 32 * 1024 * 1024;
}  // namespace

CatalogModel& catalogOf(platform::ListView& list) {
    if (auto* model = qobject_cast<CatalogModel*>(list.model())) return *model;
    auto* model = new CatalogModel(&list);
    list.setModel(model);
    return *model;
}

void setUpCatalogColumns(platform::ListView& list) {
    catalogOf(list);
    // The file names are kept in columns too narrow to be seen.
    const std::vector<float> widths = listColumnWidths(list.width(), {1.5, 8, 0.1, 0.1});
    const QString headers[kCatalogColumnCount] = {QStringLiteral("N"), QStringLiteral("    目  录"),
                                                  QStringLiteral("文字文件名.扩展名"),
                                                  QStringLiteral("图像文件名.扩展名")};
    for (int column = 0; column < kCatalogColumnCount; ++column)
        list.addColumn(headers[column], widths[size_t(column)]);
}

std::vector<CatalogRow> readCatalog(const QDir& book, QString* problem) {
    const QString name = QString::fromLatin1(kCatalogFileName);
    const platform::BookFileRead file = platform::readBookFile(book, name, kMaxCatalogBytes);
    if (file.missing) {
        // Create it empty, as a book always has a catalog; a read-only directory simply fails.
        // Only a new file: a dangling link must not create a file wherever it points.
        QFile create(book.filePath(name));
        if (create.open(QIODevice::WriteOnly | QIODevice::NewOnly)) create.close();
        return {};
    }
    if (!file.ok()) {
        if (problem) *problem = QStringLiteral("无法读取目录文件 %1：%2").arg(name, file.error);
        return {};
    }
    return parseCatalog(file.bytes);
}

int LoadCatalog(platform::ListView& list, const QDir& book, QString* problem) {
    Book& shown = catalogOf(list).book();
    shown.setDir(book);
    return shown.append(readCatalog(book, problem));
}

const Book& bookOf(const platform::ListView& list) {
    static const Book none{QDir()};
    const auto* model = qobject_cast<const CatalogModel*>(list.model());
    return model ? model->book() : none;
}

}  // namespace core
