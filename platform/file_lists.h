#pragma once

#include "control.h"
#include "drives.h"

#include <QComboBox>
#include <QListView>
#include <QTreeView>

#include <vector>

class QFileSystemModel;
class QFileSystemWatcher;

namespace platform {

class DirectoryProxy;
class FileFilterProxy;
class FolderRowsProxy;

// The drive list: a drop-down of the drives a person would pick from.
class DriveListBox : public Control {
    Q_OBJECT
  public:
    explicit DriveListBox(QWidget* parent);

    // Replaces the entries (the machine's drives unless a test gives others).
    void setDrives(std::vector<Drive> drives);
    const std::vector<Drive>& drives() const { return drives_; }
    // The chosen drive's path; empty when there is none.
    QString drive() const;
    // Chooses the drive a directory lies on, without raising `changed`.
    void showDriveOf(const QString& directory);
    // Goes back to the drive chosen before, without raising `changed`.
    void setCurrentIndexQuietly(int index);
    int currentIndex() const { return combo()->currentIndex(); }
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }

  signals:
    // The person chose another drive.
    void changed();

  private:
    std::vector<Drive> drives_;
};

// The directory list: the current directory's sub-directories and ".." to go up, with the
// current directory's path as its heading. Double-click or Enter opens a directory.
class DirListBox : public Control {
    Q_OBJECT
  public:
    explicit DirListBox(QWidget* parent);

    QString path() const { return path_; }
    // Moves to a directory that exists and can be read; false (and nothing changes) otherwise.
    bool setPath(const QString& path);
    QTreeView* view() const { return static_cast<QTreeView*>(widget()); }
    // The names listed now, ".." first (what has been read so far; the reading is in the
    // background).
    QStringList entries() const;

  signals:
    // The path changed by the person's opening of a directory.
    void pathChanged();
    // The person opened a directory that cannot be read; the path stays.
    void openFailed(const QString& path);

  private:
    void open(const QModelIndex& index);
    void checkStillThere();

    QFileSystemModel* model_;
    DirectoryProxy* proxy_;
    FolderRowsProxy* rows_;
    QFileSystemWatcher* watcher_;
    QString path_;
};

// A file list: the files of one directory that match a pattern such as "*.jpg;*.gif", without
// regard to case, sorted by name as a file manager sorts them. A click or Enter chooses a file.
class FileListBox : public Control {
    Q_OBJECT
  public:
    FileListBox(const QString& pattern, QWidget* parent);

    QString pattern() const { return pattern_; }
    QString path() const { return path_; }
    void setPath(const QString& path);
    QListView* view() const { return static_cast<QListView*>(widget()); }
    // The names listed now (what has been read so far).
    QStringList fileNames() const;

  signals:
    void fileChosen(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void choose(const QModelIndex& index);

    QString pattern_;
    QString path_;
    QFileSystemModel* model_;
    FileFilterProxy* proxy_;
    FolderRowsProxy* rows_;
};

}  // namespace platform
