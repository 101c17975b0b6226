#include "file_lists.h"

#include <QAbstractProxyModel>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace platform {

// Shows the current directory's path as the list's heading, and hides ".." where there is
// nothing above.
class DirectoryProxy : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setCurrentPath(const QString& path) {
        path_ = path;
        invalidateFilter();
        emit headerDataChanged(Qt::Horizontal, 0, 0);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QDir::toNativeSeparators(path_);
        return QSortFilterProxyModel::headerData(section, orientation, role);
    }

  protected:
    // Names only: sizes, types and dates would be read out to screen-reader users too.
    bool filterAcceptsColumn(int column, const QModelIndex&) const override { return column == 0; }

    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex index = fs->index(row, 0, parent);
        if (fs->fileName(index) != QLatin1String("..")) return true;
        return fs->filePath(parent) == path_ && !QDir(path_).isRoot();
    }

  private:
    QString path_;
};

// Only files that match the pattern: the model keeps showing a directory it listed before on
// the way to its root, whatever the filter says.
class FileFilterProxy : public QSortFilterProxyModel {
  public:
    FileFilterProxy(const QStringList& patterns, QObject* parent) : QSortFilterProxyModel(parent) {
        for (const QString& p : patterns)
            patterns_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                                QRegularExpression::CaseInsensitiveOption));
    }

  protected:
    bool filterAcceptsColumn(int column, const QModelIndex&) const override { return column == 0; }

    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex index = fs->index(row, 0, parent);
        // Rows above the listed directory lead to it and stay.
        if (fs->filePath(parent) != root_) return true;
        if (fs->isDir(index)) return false;
        const QString name = fs->fileName(index);
        return std::any_of(patterns_.begin(), patterns_.end(),
                           [&](const QRegularExpression& re) { return re.match(name).hasMatch(); });
    }

  public:
    void setRoot(const QString& root) {
        root_ = root;
        invalidateFilter();
    }

  private:
    QList<QRegularExpression> patterns_;
    QString root_;
};

// The entries of one folder of the source model as the model's top level. Screen readers are
// given the rows and cells of a list's top level whatever the view's root is (Qt 6.4 counts
// model()->rowCount() there), so a list that showed a folder by its root index would be read
// out as the one row above it. Changes to the folder's entries pass on; a change of folder, or
// the folder going away, resets the list.
class FolderRowsProxy : public QAbstractProxyModel {
  public:
    explicit FolderRowsProxy(QAbstractItemModel* source, QObject* parent)
        : QAbstractProxyModel(parent) {
        setSourceModel(source);
        connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
                [this](const QModelIndex& p, int first, int last) {
                    if (isFolder(p)) beginInsertRows({}, first, last);
                });
        connect(source, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& p) {
            if (isFolder(p)) endInsertRows();
        });
        connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [this](const QModelIndex& p, int first, int last) {
                    if (isFolder(p)) {
                        beginRemoveRows({}, first, last);
                        pendingRemoval_ = true;
                    } else if (holdsFolder(p, first, last)) {
                        beginResetModel();
                        pendingReset_ = true;
                    }
                });
        connect(source, &QAbstractItemModel::rowsRemoved, this, [this] {
            if (std::exchange(pendingRemoval_, false)) endRemoveRows();
            if (std::exchange(pendingReset_, false)) endResetModel();
        });
        // Neither the file-system model nor the filters move rows or change columns one by
        // one; should one, the list is simply read again.
        const auto resetBefore = [this] {
            if (!pendingReset_) beginResetModel();
            pendingReset_ = true;
        };
        const auto resetAfter = [this] {
            if (std::exchange(pendingReset_, false)) endResetModel();
        };
        connect(source, &QAbstractItemModel::rowsAboutToBeMoved, this, resetBefore);
        connect(source, &QAbstractItemModel::rowsMoved, this, resetAfter);
        connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this, resetBefore);
        connect(source, &QAbstractItemModel::columnsInserted, this, resetAfter);
        connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, resetBefore);
        connect(source, &QAbstractItemModel::columnsRemoved, this, resetAfter);
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this, resetBefore);
        connect(source, &QAbstractItemModel::modelReset, this, resetAfter);
        connect(source, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                    if (isFolder(from.parent()))
                        emit dataChanged(mapFromSource(from), mapFromSource(to), roles);
                });
        connect(source, &QAbstractItemModel::headerDataChanged, this,
                &FolderRowsProxy::headerDataChanged);
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                [this](const QList<QPersistentModelIndex>& parents) {
                    if (!parents.isEmpty() && !(folder_.isValid() && parents.contains(folder_)))
                        return;
                    emit layoutAboutToBeChanged();
                    relaidOut_ = true;
                    held_ = persistentIndexList();
                    heldSource_.clear();
                    for (const QModelIndex& i : std::as_const(held_))
                        heldSource_.append(mapToSource(i));
                });
        connect(source, &QAbstractItemModel::layoutChanged, this, [this] {
            if (!std::exchange(relaidOut_, false)) return;
            QModelIndexList now;
            for (const QPersistentModelIndex& i : std::as_const(heldSource_))
                now.append(mapFromSource(i));
            changePersistentIndexList(held_, now);
            held_.clear();
            heldSource_.clear();
            emit layoutChanged();
        });
    }

    // Lists the entries of `folder`, an index of the source model.
    void setFolder(const QModelIndex& folder) {
        beginResetModel();
        folder_ = folder;
        endResetModel();
    }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
        return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
    }
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !folder_.isValid() ? 0 : sourceModel()->rowCount(folder_);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !folder_.isValid() ? 0 : sourceModel()->columnCount(folder_);
    }
    bool hasChildren(const QModelIndex& parent = {}) const override {
        return !parent.isValid() && rowCount() > 0;
    }
    bool canFetchMore(const QModelIndex& parent) const override {
        return !parent.isValid() && folder_.isValid() && sourceModel()->canFetchMore(folder_);
    }
    void fetchMore(const QModelIndex& parent) override {
        if (!parent.isValid() && folder_.isValid()) sourceModel()->fetchMore(folder_);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        return sourceModel()->headerData(section, orientation, role);
    }
    QModelIndex mapToSource(const QModelIndex& index) const override {
        return index.isValid() && folder_.isValid()
                   ? sourceModel()->index(index.row(), index.column(), folder_)
                   : QModelIndex();
    }
    QModelIndex mapFromSource(const QModelIndex& source) const override {
        return source.isValid() && isFolder(source.parent())
                   ? createIndex(source.row(), source.column())
                   : QModelIndex();
    }

  private:
    bool isFolder(const QModelIndex& index) const { return folder_.isValid() && index == folder_; }
    // Whether rows first..last of `parent` are the listed folder or lead to it.
    bool holdsFolder(const QModelIndex& parent, int first, int last) const {
        for (QModelIndex i = folder_; i.isValid(); i = i.parent())
            if (i.parent() == parent && i.row() >= first && i.row() <= last) return true;
        return false;
    }

    QPersistentModelIndex folder_;
    bool pendingRemoval_ = false;
    bool pendingReset_ = false;
    bool relaidOut_ = false;
    QModelIndexList held_;
    QList<QPersistentModelIndex> heldSource_;
};

namespace {

bool canList(const QString& path) {
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

QString nearestListable(QString path) {
    while (!canList(path) && !QDir(path).isRoot()) path = QDir::cleanPath(path + "/..");
    return path;
}

}  // namespace

DriveListBox::DriveListBox(QWidget* parent) : Control(new QComboBox(parent)) {
    combo()->setAccessibleName(QStringLiteral("驱动器列表"));
    connect(combo(), &QComboBox::activated, this, [this] { emit changed(); });
}

void DriveListBox::setDrives(std::vector<Drive> drives) {
    drives_ = std::move(drives);
    const QSignalBlocker quiet(combo());
    combo()->clear();
    for (const Drive& d : drives_) combo()->addItem(d.caption, d.path);
}

QString DriveListBox::drive() const {
    const int i = combo()->currentIndex();
    return i >= 0 && i < static_cast<int>(drives_.size()) ? drives_[std::size_t(i)].path
                                                          : QString();
}

void DriveListBox::showDriveOf(const QString& directory) {
    setCurrentIndexQuietly(driveOf(drives_, directory));
}

void DriveListBox::setCurrentIndexQuietly(int index) {
    const QSignalBlocker quiet(combo());
    combo()->setCurrentIndex(index);
}

DirListBox::DirListBox(QWidget* parent)
    : Control(new QTreeView(parent)),
      model_(new QFileSystemModel(widget())),
      proxy_(new DirectoryProxy(widget())),
      watcher_(new QFileSystemWatcher(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDot);
    model_->setReadOnly(true);
    proxy_->setSourceModel(model_);
    rows_ = new FolderRowsProxy(proxy_, widget());
    QTreeView* tree = view();
    tree->setModel(rows_);
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setExpandsOnDoubleClick(false);
    tree->setUniformRowHeights(true);
    tree->header()->setStretchLastSection(true);
    tree->header()->setSectionsClickable(false);
    tree->setAccessibleName(QStringLiteral("目录列表"));
    connect(tree, &QTreeView::activated, this, &DirListBox::open);
    // A directory removed (or a medium taken out) while it is shown would leave an empty list
    // with no way up: the list moves to the nearest directory that still exists. The watcher
    // tells at once where the file system can; the timer covers the rest.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &DirListBox::checkStillThere);
    auto* poll = new QTimer(this);
    poll->setInterval(2000);
    connect(poll, &QTimer::timeout, this, &DirListBox::checkStillThere);
    poll->start();
}

void DirListBox::checkStillThere() {
    if (path_.isEmpty() || canList(path_)) return;
    if (setPath(nearestListable(path_))) emit pathChanged();
}

bool DirListBox::setPath(const QString& path) {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!canList(clean)) return false;
    if (!path_.isEmpty()) watcher_->removePath(path_);
    path_ = clean;
    watcher_->addPath(clean);
    model_->setRootPath(clean);
    proxy_->setCurrentPath(clean);
    rows_->setFolder(proxy_->mapFromSource(model_->index(clean)));
    view()->setAccessibleDescription(QDir::toNativeSeparators(clean));
    return true;
}

QStringList DirListBox::entries() const {
    QStringList names;
    for (int row = 0; row < rows_->rowCount(); ++row)
        names.append(rows_->index(row, 0).data().toString());
    return names;
}

void DirListBox::open(const QModelIndex& index) {
    const QModelIndex source = proxy_->mapToSource(rows_->mapToSource(index));
    if (!source.isValid()) return;
    const QString name = model_->fileName(source);
    const QString target =
        name == QLatin1String("..") ? QDir::cleanPath(path_ + "/..") : model_->filePath(source);
    if (setPath(target))
        emit pathChanged();
    else
        emit openFailed(target);
}

FileListBox::FileListBox(const QString& pattern, QWidget* parent)
    : Control(new QListView(parent)), pattern_(pattern), model_(new QFileSystemModel(widget())) {
    const QStringList patterns = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    model_->setFilter(QDir::Files);
    model_->setNameFilters(patterns);
    model_->setNameFilterDisables(false);  // hide what does not match rather than grey it
    model_->setReadOnly(true);
    proxy_ = new FileFilterProxy(patterns, widget());
    proxy_->setSourceModel(model_);
    rows_ = new FolderRowsProxy(proxy_, widget());
    view()->setModel(rows_);
    view()->setUniformItemSizes(true);
    view()->installEventFilter(this);
    connect(view(), &QListView::clicked, this, &FileListBox::choose);
}

void FileListBox::setPath(const QString& path) {
    path_ = QDir::cleanPath(path);
    model_->setRootPath(path_);
    proxy_->setRoot(path_);
    rows_->setFolder(proxy_->mapFromSource(model_->index(path_)));
}

QStringList FileListBox::fileNames() const {
    QStringList names;
    for (int row = 0; row < rows_->rowCount(); ++row)
        names.append(rows_->index(row, 0).data().toString());
    return names;
}

// Enter chooses the current file, for readers who do not use the mouse; moving through the
// list with the arrow keys chooses nothing.
bool FileListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose(view()->currentIndex());
            return true;
        }
    }
    return Control::eventFilter(watched, event);
}

void FileListBox::choose(const QModelIndex& index) {
    const QModelIndex source = proxy_->mapToSource(rows_->mapToSource(index));
    if (source.isValid()) emit fileChosen(model_->fileName(source));
}

}  // namespace platform
