#include "list_view.h"

#include "twips.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QTimer>

namespace platform {

ListView::ListView(QWidget* parent)
    : Control(new QTreeWidget(parent)), tree_(static_cast<QTreeWidget*>(widget())) {
    tree_->setRootIsDecorated(false);
    tree_->setUniformRowHeights(true);  // keeps a catalog of thousands of rows cheap to lay out
    tree_->setColumnCount(0);
    tree_->setHeaderLabels({});
    tree_->header()->setStretchLastSection(false);
    // Column widths are kept as given, down to the near-invisible file-name columns.
    tree_->header()->setMinimumSectionSize(0);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    const auto emitRow = [this](QTreeWidgetItem* item) {
        const int index = tree_->indexOfTopLevelItem(item);
        if (index >= 0) emit itemClicked(index + 1);
    };
    connect(tree_, &QTreeWidget::itemClicked, this,
            [emitRow](QTreeWidgetItem* item, int) { emitRow(item); });
    // The keyboard's Enter opens a row too, for readers who do not use the mouse; a mouse
    // double-click, which also activates, has already delivered its click.
    connect(tree_, &QTreeWidget::itemActivated, this, [emitRow](QTreeWidgetItem* item, int) {
        if (QGuiApplication::mouseButtons() == Qt::NoButton) emitRow(item);
    });
}

void ListView::addColumn(const QString& header, float widthTwips) {
    const int column = tree_->columnCount();
    tree_->setColumnCount(column + 1);
    QTreeWidgetItem* head = tree_->headerItem();
    head->setText(column, header);
    widths_.append(widthTwips);
    tree_->setColumnWidth(column, std::max(0, toPixels(widthTwips)));
}

int ListView::columnCount() const {
    return tree_->columnCount();
}

float ListView::columnWidth(int column) const {
    return column >= 0 && column < widths_.size() ? widths_[column] : 0.0f;
}

int ListView::addRow(const QString& text) {
    auto* item = new QTreeWidgetItem(tree_);
    item->setText(0, text);
    return tree_->topLevelItemCount();
}

int ListView::rowCount() const {
    return tree_->topLevelItemCount();
}

void ListView::revealLastRow() {
    if (revealPending_) return;
    revealPending_ = true;
    QTimer::singleShot(0, this, [this] {
        revealPending_ = false;
        tree_->scrollToBottom();
    });
}

void ListView::clearRows() {
    tree_->clear();
    marked_ = 0;
}

void ListView::setMarkedRow(int row) {
    const auto setBold = [this](int r, bool bold) {
        QTreeWidgetItem* item = tree_->topLevelItem(r - 1);
        if (!item) return;
        QFont font = tree_->font();  // the list's own font, only heavier
        font.setBold(true);
        for (int c = 0; c < tree_->columnCount(); ++c)
            item->setData(c, Qt::FontRole, bold ? QVariant(font) : QVariant());
    };
    if (row == marked_) return;
    setBold(marked_, false);
    marked_ = tree_->topLevelItem(row - 1) ? row : 0;
    setBold(marked_, true);
}

QString ListView::text(int row, int column) const {
    const QTreeWidgetItem* item = tree_->topLevelItem(row - 1);
    if (!item || column < 0 || column >= tree_->columnCount()) return {};
    return item->text(column);
}

bool ListView::setText(int row, int column, const QString& text) {
    QTreeWidgetItem* item = tree_->topLevelItem(row - 1);
    if (!item || column < 0 || column >= tree_->columnCount()) return false;
    item->setText(column, text);
    return true;
}

}  // namespace platform
