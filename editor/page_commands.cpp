#include "page_commands.h"

#include <algorithm>

namespace editor {

MovePages::MovePages(core::Book& book, int first, int count, int before, QUndoCommand* parent)
    : QUndoCommand(parent), book_(book), first_(first), count_(count), before_(before) {}

void MovePages::redo() {
    book_.move(first_, count_, before_);
}

void MovePages::undo() {
    // Where the block stands now, and where it goes back to.
    if (before_ < first_)
        book_.move(before_, count_, first_ + count_);
    else
        book_.move(before_ - count_, count_, first_);
}

AddPages::AddPages(core::Book& book, int at, std::vector<core::PageFiles> pages,
                   QUndoCommand* parent)
    : QUndoCommand(parent), book_(book), at_(at), pages_(std::move(pages)) {}

void AddPages::redo() {
    book_.insert(at_, pages_);
}

void AddPages::undo() {
    book_.remove(at_, int(pages_.size()));
}

SetTextFile::SetTextFile(core::Book& book, int row, QString name, QUndoCommand* parent)
    : QUndoCommand(parent), book_(book), row_(row), name_(std::move(name)) {}

void SetTextFile::redo() {
    before_ = book_.page(row_).textFile;
    book_.setTextFile(row_, name_);
}

void SetTextFile::undo() {
    book_.setTextFile(row_, before_);
}

RemovePages::RemovePages(core::Book& book, int first, int count, QUndoCommand* parent)
    : QUndoCommand(parent), book_(book), first_(first), count_(count) {}

void RemovePages::redo() {
    removed_.clear();
    for (int row = first_; row < first_ + count_; ++row)
        removed_.push_back({book_.page(row).imageFile, book_.page(row).textFile});
    book_.remove(first_, count_);
}

void RemovePages::undo() {
    book_.insert(first_, removed_);
}

std::vector<int> stepPages(core::Book& book, const std::vector<int>& selected, bool up,
                           QUndoCommand* parent) {
    const int n = book.count();
    std::vector<bool> chosen(size_t(n) + 2, false);
    for (int row : selected)
        if (row >= 1 && row <= n) chosen[size_t(row)] = true;
    // Up: from the top, a chosen page passes the unchosen one above it; down, mirrored.
    for (int i = up ? 2 : n - 1; up ? i <= n : i >= 1; i += up ? 1 : -1) {
        const int other = up ? i - 1 : i + 1;
        if (!chosen[size_t(i)] || chosen[size_t(other)]) continue;
        new MovePages(book, i, 1, up ? i - 1 : i + 2, parent);
        chosen[size_t(i)] = false;  // chosen[i] was set and chosen[other] was not
        chosen[size_t(other)] = true;
    }
    std::vector<int> rows;
    for (int row = 1; row <= n; ++row)
        if (chosen[size_t(row)]) rows.push_back(row);
    return rows;
}

}  // namespace editor
