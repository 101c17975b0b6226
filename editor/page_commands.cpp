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

std::vector<int> dropPages(core::Book& book, std::vector<int> rows, int before,
                           QUndoCommand* parent) {
    const int n = book.count();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    const auto chosen = [&rows](int id) {
        return std::binary_search(rows.begin(), rows.end(), id);
    };
    // Each goes just before the first page from `before` on that is not moved itself (or to the
    // end): that page keeps its place among the others, so only the chosen pages move.
    int anchor = 0;
    for (int id = std::max(before, 1); id <= n && !anchor; ++id)
        if (!chosen(id)) anchor = id;
    std::vector<int> order(static_cast<size_t>(n));  // page ids in their places, as steps go
    for (int i = 0; i < n; ++i) order[size_t(i)] = i + 1;
    const auto place = [&order](int id) {
        return int(std::find(order.begin(), order.end(), id) - order.begin()) + 1;
    };
    for (int id : rows) {
        const int at = place(id);
        const int to = anchor ? place(anchor) : n + 1;  // before this place
        if (at == to - 1) continue;                     // there already
        new MovePages(book, at, 1, to, parent);
        order.erase(order.begin() + (at - 1));
        order.insert(order.begin() + (at < to ? to - 2 : to - 1), id);
    }
    std::vector<int> after;
    for (int id : rows) after.push_back(place(id));
    return after;
}

}  // namespace editor
