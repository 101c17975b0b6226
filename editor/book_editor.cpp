#include "book_editor.h"

#include "book_pages_model.h"
#include "caption_editor.h"
#include "page_commands.h"
#include "page_thumbnails.h"

#include "core/book_files.h"
#include "platform/controls.h"
#include "platform/message_box.h"

#include <QAction>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QProgressDialog>
#include <QSplitter>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace editor {
namespace {

constexpr int kThumbnailSide = 120;

QAction* command(QWidget* owner, QLayout* bar, const QString& caption,
                 const QList<QKeySequence>& keys, const QString& description) {
    auto* action = new QAction(caption, owner);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    owner->addAction(action);
    auto* button = new QToolButton(owner);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAccessibleName(platform::spokenCaption(caption));
    button->setAccessibleDescription(description);
    QString tip = description;
    if (!keys.isEmpty()) tip += QStringLiteral("（%1）").arg(keys.first().toString());
    button->setToolTip(tip);
    bar->addWidget(button);
    return action;
}

}  // namespace

BookEditor::BookEditor(const QDir& book, QWidget* parent)
    : QDialog(parent),
      book_(book),
      thumbnails_(new PageThumbnails(book, QSize(kThumbnailSide, kThumbnailSide), this)),
      model_(new BookPagesModel(book_, *thumbnails_, this)),
      grid_(new QListView(this)),
      caption_(new CaptionEditor(this)),
      status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("编辑本书[*]"));
    setAccessibleDescription(QStringLiteral("调整本书各页的顺序、删除页面并保存目录"));
    setModal(false);
    resize(760, 560);

    grid_->setModel(model_);
    grid_->setViewMode(QListView::IconMode);
    grid_->setMovement(QListView::Static);
    grid_->setResizeMode(QListView::Adjust);
    grid_->setUniformItemSizes(true);
    grid_->setWordWrap(true);
    grid_->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
    grid_->setGridSize(QSize(kThumbnailSide + 36, kThumbnailSide + 44));
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Pages are dragged to their new place; a static grid would refuse drags, so they are
    // switched on after it.
    grid_->setDragEnabled(true);
    grid_->setDragDropMode(QAbstractItemView::DragDrop);
    grid_->setDefaultDropAction(Qt::MoveAction);
    grid_->setDropIndicatorShown(true);
    grid_->setAccessibleName(QStringLiteral("页面"));
    grid_->setAccessibleDescription(QStringLiteral("本书各页，按阅读顺序排列"));
    status_->setAccessibleName(QStringLiteral("状态"));
    status_->setAccessibleDescription(QStringLiteral("上一步的结果，或没有做成的原因"));

    auto* bar = new QHBoxLayout;
    addAction = command(this, bar, QStringLiteral("添加图片…"), {Qt::Key_Insert},
                        QStringLiteral("选取图片文件，复制到本书并插在选中的页之后"));
    moveUpAction = command(this, bar, QStringLiteral("上移"), {Qt::CTRL | Qt::Key_Up},
                           QStringLiteral("选中的页向前移一页"));
    moveDownAction = command(this, bar, QStringLiteral("下移"), {Qt::CTRL | Qt::Key_Down},
                             QStringLiteral("选中的页向后移一页"));
    removeAction = command(this, bar, QStringLiteral("删除此页"), {Qt::Key_Delete},
                           QStringLiteral("从目录中去掉选中的页，文件留在磁盘上"));
    undoAction = command(this, bar, QStringLiteral("撤销"), {Qt::CTRL | Qt::Key_Z},
                         QStringLiteral("撤销上一步"));
    redoAction = command(this, bar, QStringLiteral("重做"),
                         {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
                         QStringLiteral("重做撤销的一步"));
    bar->addStretch();
    saveAction = command(this, bar, QStringLiteral("保存(&S)"), {Qt::CTRL | Qt::Key_S},
                         QStringLiteral("把页面的顺序写入目录文件 DocItem.txt"));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(grid_);
    split->addWidget(caption_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);
    layout->addWidget(status_);

    choosePictures = [this] {
        return QFileDialog::getOpenFileNames(
            this, QStringLiteral("添加图片"), QString(),
            QStringLiteral("图像文件 (*.bmp *.gif *.jpg *.jpeg *.ico *.wmf *.emf)"));
    };
    connect(addAction, &QAction::triggered, this, [this] { addPictures(choosePictures()); });
    // Pictures dropped from a file manager are added the same way.
    grid_->setAcceptDrops(true);
    grid_->viewport()->setAcceptDrops(true);
    grid_->viewport()->installEventFilter(this);
    connect(model_, &BookPagesModel::pagesDropped, this,
            [this](const std::vector<int>& rows, int before) {
                auto* macro = new QUndoCommand(QStringLiteral("移动"));
                const std::vector<int> after = dropPages(book_, rows, before, macro);
                if (macro->childCount() == 0) return delete macro;
                undo_.push(macro);
                selectRows(after);
            });
    connect(moveUpAction, &QAction::triggered, this, [this] { step(true); });
    connect(moveDownAction, &QAction::triggered, this, [this] { step(false); });
    connect(removeAction, &QAction::triggered, this, &BookEditor::removeSelected);
    connect(undoAction, &QAction::triggered, &undo_, &QUndoStack::undo);
    connect(redoAction, &QAction::triggered, &undo_, &QUndoStack::redo);
    connect(saveAction, &QAction::triggered, this, &BookEditor::save);
    connect(&undo_, &QUndoStack::indexChanged, this, &BookEditor::updateActions);
    connect(&undo_, &QUndoStack::cleanChanged, this, &BookEditor::updateActions);
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BookEditor::updateActions);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &BookEditor::showCurrentText);
    connect(caption_, &CaptionEditor::textFileWanted, this, &BookEditor::nameNewText);
    connect(caption_, &CaptionEditor::modifiedChanged, this, &BookEditor::updateActions);
    // A page that moved, or whose text file changed, keeps its text in view.
    connect(&book_, &core::Book::changed, this, &BookEditor::showCurrentText);
    load();
}

BookEditor::~BookEditor() {
    // The children that use the book go while it is still there, and tell this half-gone window
    // nothing on their way.
    caption_->disconnect(this);
    undo_.disconnect(this);  // clearing the stack as it goes would update these controls
    book_.disconnect(this);
    grid_->viewport()->removeEventFilter(this);
    delete caption_;
    delete grid_;
    delete model_;
}

void BookEditor::load() {
    undo_.clear();
    caption_->discard();
    thumbnails_->clear();
    QString problem;
    if (!book_.load(&problem)) say(problem);
    updateActions();
}

bool BookEditor::hasUnsaved() const {
    return !undo_.isClean() || caption_->hasUnsaved();
}

void BookEditor::showCurrentText() {
    const QModelIndex current = grid_->selectionModel()->currentIndex();
    caption_->showPage(book_.dir(), current.isValid() ? &book_.page(current.row() + 1) : nullptr);
}

// Typing began on a page without text: it gets a new RTF file named after its picture, as one
// undoable step.
void BookEditor::nameNewText() {
    const QModelIndex current = grid_->selectionModel()->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row() + 1;
    const QString base = QFileInfo(book_.page(row).imageFile).completeBaseName();
    QString name;
    for (int n = 1; n < 10000 && name.isEmpty(); ++n) {
        const QString candidate =
            n == 1 ? base + QStringLiteral(".rtf") : QStringLiteral("%1 (%2).rtf").arg(base).arg(n);
        const QFileInfo there(book_.dir().filePath(candidate));
        if (!there.exists() && !there.isSymLink() && !caption_->editedText(candidate))
            name = candidate;
    }
    if (name.isEmpty() || !core::unrepresentableReason(name).isEmpty()) return;
    caption_->adoptTextFile(name);
    undo_.push(new SetTextFile(book_, row, name));
}

void BookEditor::open() {
    if (!isVisible() && !hasUnsaved()) load();
    show();
    raise();
    activateWindow();
}

void BookEditor::reloadIfClean() {
    if (!hasUnsaved()) load();
}

bool BookEditor::save() {
    core::FileBatch batch(book_.dir());
    QStringList refused;
    const QStringList texts = caption_->addChanges(batch, &refused);
    QString failed, why;
    if (!refused.isEmpty()) {
        failed = refused.join(QStringLiteral("、"));
        why = QStringLiteral("没有同意丢弃其中的内容");
    } else if (undo_.isClean()) {
        why = batch.commit(&failed);  // only texts changed: the catalog stays as it was written
    } else {
        why = book_.save(std::move(batch), &failed);
    }
    if (!why.isEmpty()) {
        const QString text = QStringLiteral(
                                 "没有保存：%1 %2。本书的文件都保持原样，所作的修改仍在，"
                                 "可以再次保存。")
                                 .arg(failed, why);
        say(text);
        platform::messageBox(this, {text, windowTitle(), QMessageBox::Ok, QMessageBox::Warning});
        return false;
    }
    caption_->markSaved(texts);
    undo_.setClean();
    say(QStringLiteral("已保存 %1 页").arg(book_.count()));
    emit saved();
    return true;
}

void BookEditor::addPictures(const QStringList& paths) {
    if (paths.isEmpty()) return;
    const std::vector<int> selected = selectedRows();
    const int at = selected.empty() ? book_.count() + 1 : selected.back() + 1;
    if (book_.count() + paths.size() > core::kMaxPages) {
        say(QStringLiteral("一本书最多 %1 页，没有添加。").arg(core::kMaxPages));
        return;
    }
    // Progress counts bytes, in KiB so a large book stays within an int, and a cancel stops
    // the picture being copied part of the way; the pictures copied before it are added.
    std::vector<qint64> kib;  // each file's share of the progress
    qint64 total = 0;
    for (const QString& path : paths) total += kib.emplace_back(QFileInfo(path).size() / 1024 + 1);
    QProgressDialog progress(QStringLiteral("正在复制图片…"), QStringLiteral("取消"), 0,
                             int(std::min<qint64>(total, INT_MAX)), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(progressDelay);
    progress.setAccessibleName(QStringLiteral("正在复制图片"));
    std::vector<core::PageFiles> added;
    QStringList notes;
    qint64 done = 0;
    int left = int(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        if (progress.wasCanceled()) break;
        const QString name = core::nameInBook(book_.dir(), path);
        const auto copied = [&](qint64 bytes) {
            progress.setValue(int(std::min<qint64>(done + bytes / 1024, progress.maximum())));
            return !progress.wasCanceled();
        };
        const QString failure = name.isEmpty() ? QStringLiteral("本书中没有可用的文件名")
                                               : core::copyIntoBook(
                                                     path, book_.dir(), name,
                                                     [](const QString&) { return false; }, copied);
        done += kib[size_t(i)];
        if (!failure.isEmpty() && progress.wasCanceled()) break;  // stopped part of the way
        --left;
        const QString original = QFileInfo(path).fileName();
        if (!failure.isEmpty()) {
            notes << QStringLiteral("%1 没有添加：%2").arg(original, failure);
            continue;
        }
        if (name != original) notes << QStringLiteral("%1 以 %2 为名加入本书").arg(original, name);
        added.push_back({name, {}});
    }
    if (left > 0) notes << QStringLiteral("已取消复制，其余 %1 个文件没有添加").arg(left);
    progress.reset();
    if (!added.empty()) {
        const int n = int(added.size());
        undo_.push(new AddPages(book_, at, std::move(added)));
        std::vector<int> rows;
        for (int row = at; row < at + n; ++row) rows.push_back(row);
        selectRows(rows);
    }
    if (!notes.isEmpty()) {
        say(notes.join(QStringLiteral("；")));
        platform::messageBox(this, {notes.join(QLatin1Char('\n')), windowTitle(), QMessageBox::Ok,
                                    QMessageBox::Information});
    }
}

bool BookEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != grid_->viewport()) return QDialog::eventFilter(watched, event);
    const auto localFiles = [](const QMimeData* data) {
        QStringList paths;
        if (data)
            for (const QUrl& url : data->urls())
                if (url.isLocalFile()) paths << url.toLocalFile();
        return paths;
    };
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (localFiles(drag->mimeData()).isEmpty()) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = localFiles(drop->mimeData());
            if (paths.isEmpty()) return false;
            drop->acceptProposedAction();
            addPictures(paths);
            return true;
        }
        default:
            return QDialog::eventFilter(watched, event);
    }
}

std::vector<int> BookEditor::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes())
        rows.push_back(i.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void BookEditor::selectRows(const std::vector<int>& rows) {
    QItemSelection selection;
    for (int row : rows) {
        const QModelIndex i = model_->index(row - 1);
        selection.select(i, i);
    }
    grid_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty())
        grid_->selectionModel()->setCurrentIndex(model_->index(rows.front() - 1),
                                                 QItemSelectionModel::NoUpdate);
}

void BookEditor::step(bool up) {
    auto* macro = new QUndoCommand(up ? QStringLiteral("上移") : QStringLiteral("下移"));
    const std::vector<int> after = stepPages(book_, selectedRows(), up, macro);
    if (macro->childCount() == 0) {
        delete macro;
        return;
    }
    undo_.push(macro);
    selectRows(after);
}

void BookEditor::removeSelected() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty()) return;
    auto* macro = new QUndoCommand(QStringLiteral("删除此页"));
    // From the last, so the rows still to go keep their numbers.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) new RemovePages(book_, *it, 1, macro);
    undo_.push(macro);
    const int next = std::min(rows.front(), book_.count());
    if (next >= 1) selectRows({next});
}

void BookEditor::updateActions() {
    const bool any = !selectedRows().empty();
    moveUpAction->setEnabled(any);
    moveDownAction->setEnabled(any);
    removeAction->setEnabled(any);
    undoAction->setEnabled(undo_.canUndo());
    redoAction->setEnabled(undo_.canRedo());
    saveAction->setEnabled(hasUnsaved());
    setWindowModified(hasUnsaved());
}

void BookEditor::say(const QString& text) {
    status_->setText(text);
}

// Esc, the close button and the window manager all close through here.
void BookEditor::reject() {
    if (hasUnsaved()) {
        const auto answer = platform::messageBox(
            this, {QStringLiteral("本书的修改还没有保存。要保存吗？"), windowTitle(),
                   QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                   QMessageBox::Question});
        if (answer == QMessageBox::Save && !save()) return;
        if (answer == QMessageBox::Discard) load();  // the catalog on disk, as it was
        if (answer != QMessageBox::Save && answer != QMessageBox::Discard) return;
    }
    QDialog::reject();
}

}  // namespace editor
