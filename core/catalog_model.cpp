#include "catalog_model.h"

namespace core {

CatalogModel::CatalogModel(QObject* parent) : BookFollower(parent), book_(QDir()) {
    follow(book_);
    // Rows all replaced: the bold row named a page that may be gone.
    connect(&book_, &Book::aboutToChange, this, [this](const BookEdit& e) {
        if (e.kind == BookEdit::Kind::Reset) forgetMarkedRow();
    });
}

QString CatalogModel::cell(int row, int column) const {
    if (row < 0 || row >= count()) return {};
    const CatalogRow& r = book_.page(row + 1);
    switch (static_cast<CatalogColumn>(column)) {
        case kPageNoColumn:
            return r.pageNo;
        case kTitleColumn:
            return r.title;
        case kTextFileColumn:
            return r.textFile;
        case kImageFileColumn:
            return r.imageFile;
        case kCatalogColumnCount:
            break;
    }
    return {};
}

}  // namespace core
