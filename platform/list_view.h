#pragma once

#include "control.h"
#include "list_model.h"

#include <QTreeView>

namespace platform {

// A list view in report style: columns with a header and a width in twips, rows of texts that
// keep their insertion order, and an item-click event carrying the 1-based row. It shows its own
// rows, added one at a time, or the rows of a model set on it; it only displays them.
class ListView : public Control {
    Q_OBJECT
  public:
    explicit ListView(QWidget* parent);

    // Shows `model` instead of the list's own rows; the list does not own it.
    void setModel(ListModel* model);
    ListModel* model() const { return model_; }

    void addColumn(const QString& header, float widthTwips);
    int columnCount() const;
    float columnWidth(int column) const;

    // Appends a row whose item text is `text`; returns its 1-based index. Only the list's own
    // rows grow this way; with a model set it returns 0.
    int addRow(const QString& text);
    int rowCount() const;
    void clearRows();
    // Column 0 is the item text, 1.. the sub-items. Out-of-range reads give an empty string.
    QString text(int row, int column) const;
    bool setText(int row, int column, const QString& text);

    // Draws row `row` (1-based) in bold, and no other; 0 marks none. The selection, the current
    // row and the scroll position are left alone.
    void setMarkedRow(int row);
    int markedRow() const { return model_->markedRow() + 1; }

    // Scrolls the last row into view once control returns to the event loop, so adding many
    // rows in one go lays the list out once, not once per row.
    void revealLastRow();

    QTreeView* tree() const { return tree_; }

  signals:
    void itemClicked(int row);

  private:
    QTreeView* tree_;
    TextRows* own_;
    ListModel* model_;
    QList<float> widths_;
    bool revealPending_ = false;
};

}  // namespace platform
