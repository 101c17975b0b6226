#pragma once

#include "core/book.h"

#include <QUndoCommand>

#include <vector>

// Edits of a book's pages as undoable steps. Each does its edit on redo and the inverse on undo;
// rows are the book's, 1-based.
namespace editor {

// Moves `count` pages from `first` to stand before the page at `before`.
class MovePages : public QUndoCommand {
  public:
    MovePages(core::Book& book, int first, int count, int before, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

  private:
    core::Book& book_;
    int first_, count_, before_;
};

// Puts pages whose files are in the book already at `at`.
class AddPages : public QUndoCommand {
  public:
    AddPages(core::Book& book, int at, std::vector<core::PageFiles> pages,
             QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

  private:
    core::Book& book_;
    int at_;
    std::vector<core::PageFiles> pages_;
};

// Gives page `row` the text file `name` (a new one, for a page that had none).
class SetTextFile : public QUndoCommand {
  public:
    SetTextFile(core::Book& book, int row, QString name, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

  private:
    core::Book& book_;
    int row_;
    QString name_, before_;
};

// Removes `count` pages from `first` out of the catalog; their files stay on disk.
class RemovePages : public QUndoCommand {
  public:
    RemovePages(core::Book& book, int first, int count, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

  private:
    core::Book& book_;
    int first_, count_;
    std::vector<core::PageFiles> removed_;
};

// Adds to `parent` the steps that move the selected pages one place up (`up`) or down, each
// selected page past the unselected one beside it; a page already at the end, or held by a
// selected neighbour that cannot move, stays. The steps run when `parent` is pushed onto an undo
// stack. `selected` holds 1-based rows. Returns the rows the pages will stand on.
std::vector<int> stepPages(core::Book& book, const std::vector<int>& selected, bool up,
                           QUndoCommand* parent);

// Adds to `parent` the steps that put the pages `rows` (1-based, any order, possibly apart) one
// after another before page `before`, in reading order. Returns the rows they will stand on.
std::vector<int> dropPages(core::Book& book, std::vector<int> rows, int before,
                           QUndoCommand* parent);

}  // namespace editor
