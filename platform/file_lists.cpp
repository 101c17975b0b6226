#include "file_lists.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTimer>

#include <algorithm>

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
    QTreeView* tree = view();
    tree->setModel(proxy_);
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
    view()->setRootIndex(proxy_->mapFromSource(model_->index(clean)));
    view()->setAccessibleDescription(QDir::toNativeSeparators(clean));
    return true;
}

QStringList DirListBox::entries() const {
    QStringList names;
    const QModelIndex root = view()->rootIndex();
    for (int row = 0; row < proxy_->rowCount(root); ++row)
        names.append(proxy_->index(row, 0, root).data().toString());
    return names;
}

void DirListBox::open(const QModelIndex& index) {
    const QModelIndex source = proxy_->mapToSource(index);
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
    view()->setModel(proxy_);
    view()->setUniformItemSizes(true);
    view()->installEventFilter(this);
    connect(view(), &QListView::clicked, this, &FileListBox::choose);
}

void FileListBox::setPath(const QString& path) {
    path_ = QDir::cleanPath(path);
    model_->setRootPath(path_);
    proxy_->setRoot(path_);
    view()->setRootIndex(proxy_->mapFromSource(model_->index(path_)));
}

QStringList FileListBox::fileNames() const {
    QStringList names;
    const QModelIndex root = view()->rootIndex();
    for (int row = 0; row < proxy_->rowCount(root); ++row)
        names.append(proxy_->index(row, 0, root).data().toString());
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
    if (index.isValid() && index.parent() == view()->rootIndex())
        emit fileChosen(model_->fileName(proxy_->mapToSource(index)));
}

}  // namespace platform
