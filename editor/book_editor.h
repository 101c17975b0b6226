#pragma once

#include "core/book.h"

#include <QDialog>
#include <QUndoStack>

#include <functional>

#include <vector>

class QAction;
class QLabel;
class QListView;

namespace editor {

class BookPagesModel;
class CaptionEditor;
class PageThumbnails;

// The book editor window, 编辑本书: the book's pages as a grid of thumbnails in reading order,
// reordered and removed with undo and redo, and saved back to DocItem.txt. One instance for the
// run, modeless; the files of a removed page stay on disk.
class BookEditor : public QDialog {
    Q_OBJECT
  public:
    explicit BookEditor(const QDir& book, QWidget* parent = nullptr);
    ~BookEditor() override;

    // Shows the window and brings it forward; a window without unsaved edits reads the catalog
    // afresh first, so it shows what another window may have written since.
    void open();
    // Reads the catalog again unless there are unsaved edits (the builder wrote a new one).
    void reloadIfClean();
    // Writes the catalog; false, with the reason shown, when it could not be written (the edits
    // stay, to retry).
    bool save();

    core::Book& book() { return book_; }
    QUndoStack& undoStack() { return undo_; }
    QListView* pageGrid() const { return grid_; }
    PageThumbnails& thumbnails() { return *thumbnails_; }
    CaptionEditor& caption() { return *caption_; }
    // Whether there are edits not saved yet: pages or texts.
    bool hasUnsaved() const;
    // Copies the pictures at `paths` into the book (under a free name where theirs is taken by
    // another file or cannot be in the catalog) and puts them after the selection, as one step.
    // Says what could not be added, or was renamed.
    void addPictures(const QStringList& paths);
    // Asks for the pictures to add; a file dialog unless a test answers.
    std::function<QStringList()> choosePictures;
    // How long copying runs before its progress dialog shows, in milliseconds.
    int progressDelay = 500;

    // The 1-based rows of the selected pages, in order.
    std::vector<int> selectedRows() const;
    void selectRows(const std::vector<int>& rows);

    QAction* addAction = nullptr;
    QAction* moveUpAction = nullptr;
    QAction* moveDownAction = nullptr;
    QAction* removeAction = nullptr;
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;
    QAction* saveAction = nullptr;

  signals:
    // The catalog on disk was replaced.
    void saved();

  public slots:
    // Closing asks first when there are unsaved edits: save, discard or stay.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void load();
    void step(bool up);
    void removeSelected();
    void updateActions();
    void say(const QString& text);
    void showCurrentText();
    void nameNewText();

    core::Book book_;
    QUndoStack undo_;
    PageThumbnails* thumbnails_;
    BookPagesModel* model_;
    QListView* grid_;
    CaptionEditor* caption_;
    QLabel* status_;
};

}  // namespace editor
