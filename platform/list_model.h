#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QStringList>

#include <vector>

namespace platform {

// What a list view shows: column headers and rows of texts, plus one row drawn in bold. The rows
// are held by a subclass; the view only displays them, so filling thousands of rows is one reset.
// Rows and columns are 0-based here.
class ListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    virtual int count() const = 0;
    // An empty string for a cell the row does not have.
    virtual QString cell(int row, int column) const = 0;
    // Removes every row.
    virtual void clear() = 0;

    void addColumn(const QString& header);
    const QStringList& headers() const { return headers_; }

    // Draws `row` in `font` and every other row in the view's own; -1 marks none.
    void setMarkedRow(int row, const QFont& font);
    int markedRow() const { return marked_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  protected:
    // Subclasses call this when their rows are all gone or all replaced.
    void forgetMarkedRow() { marked_ = -1; }

  private:
    QStringList headers_;
    int marked_ = -1;
    QFont markedFont_;
};

// Rows of texts added one at a time, as a person picks them.
class TextRows : public ListModel {
    Q_OBJECT
  public:
    using ListModel::ListModel;

    int count() const override { return int(rows_.size()); }
    QString cell(int row, int column) const override;
    void clear() override;

    // Appends a row whose column 0 is `text`; returns its 0-based index.
    int appendRow(const QString& text);
    bool setCell(int row, int column, const QString& text);

  private:
    std::vector<QStringList> rows_;
};

}  // namespace platform
