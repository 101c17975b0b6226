#include "list_view.h"

#include "twips.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QTimer>

namespace platform {

ListView::ListView(QWidget* parent)
    : Control(new QTreeView(parent)),
      tree_(static_cast<QTreeView*>(widget())),
      own_(new TextRows(this)),
      model_(own_) {
    tree_->setModel(own_);
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);
    tree_->setUniformRowHeights(true);  // keeps a catalog of thousands of rows cheap to lay out
    tree_->header()->setStretchLastSection(false);
    // Column widths are kept as given, down to the near-invisible file-name columns.
    tree_->header()->setMinimumSectionSize(0);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    const auto emitRow = [this](const QModelIndex& index) {
        if (index.isValid()) emit itemClicked(index.row() + 1);
    };
    connect(tree_, &QTreeView::clicked, this, emitRow);
    // The keyboard's Enter opens a row too, for readers who do not use the mouse; a mouse
    // double-click, which also activates, has already delivered its click.
    connect(tree_, &QTreeView::activated, this, [emitRow](const QModelIndex& index) {
        if (QGuiApplication::mouseButtons() == Qt::NoButton) emitRow(index);
    });
}

void ListView::setModel(ListModel* model) {
    if (!model || model == model_) return;
    QItemSelectionModel* old = tree_->selectionModel();
    tree_->setModel(model);
    delete old;  // the view made it and does not delete it on a new model
    model_ = model;
    for (int c = 0; c < widths_.size(); ++c)
        tree_->setColumnWidth(c, std::max(0, toPixels(widths_[c])));
}

void ListView::addColumn(const QString& header, float widthTwips) {
    model_->addColumn(header);
    widths_.append(widthTwips);
    tree_->setColumnWidth(int(widths_.size()) - 1, std::max(0, toPixels(widthTwips)));
}

int ListView::columnCount() const {
    return model_->columnCount();
}

float ListView::columnWidth(int column) const {
    return column >= 0 && column < widths_.size() ? widths_[column] : 0.0f;
}

int ListView::addRow(const QString& text) {
    if (model_ != own_) return 0;
    return own_->appendRow(text) + 1;
}

int ListView::rowCount() const {
    return model_->count();
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
    model_->clear();
}

void ListView::setMarkedRow(int row) {
    QFont font = tree_->font();  // the list's own font, only heavier
    font.setBold(true);
    model_->setMarkedRow(row - 1, font);
}

QString ListView::text(int row, int column) const {
    if (column < 0 || column >= columnCount()) return {};
    return model_->cell(row - 1, column);
}

bool ListView::setText(int row, int column, const QString& text) {
    return model_ == own_ && own_->setCell(row - 1, column, text);
}

}  // namespace platform
