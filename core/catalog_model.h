#pragma once

#include "catalog.h"

#include "platform/list_model.h"

#include <vector>

namespace core {

// The book's catalog as the reader holds it: the rows of DocItem.txt, which the catalog list
// displays, in the columns of CatalogColumn.
class CatalogModel : public platform::ListModel {
    Q_OBJECT
  public:
    using ListModel::ListModel;

    // Appends `rows` after the rows already there, up to kMaxPages in all; returns how many were
    // added. Filling an empty catalog is one reset of the views, not one insertion per row.
    int append(std::vector<CatalogRow> rows);

    int count() const override { return int(rows_.size()); }
    QString cell(int row, int column) const override;
    void clear() override;

  private:
    std::vector<CatalogRow> rows_;
};

}  // namespace core
