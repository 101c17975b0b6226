#include "frm_file.h"

#include "book_assembly.h"

#include "core/catalog.h"
#include "platform/message_box.h"
#include "platform/program_title.h"

#include <QShortcut>

namespace builder {

frmFile::frmFile(const QDir& book, QWidget* owner)
    : listDrives([] { return platform::pickDrives(platform::mountedVolumes(), QDir::homePath()); }),
      book_(book),
      owner_(owner),
      lifecycle_(
          *this, [this] { return load(); },
          [this] {
              w_.reset();
              rowCount_ = 0;
          }) {}

frmFile::~frmFile() = default;

void frmFile::Show() {
    lifecycle_.show();
}

QDialog* frmFile::load() {
    w_ = createFrmFileWidgets(owner_);
    const FrmFileWidgets& w = *w_;
    connect(w.DriveList, &platform::DriveListBox::changed, this, [this] { DriveList_Change(); });
    connect(w.DirList, &platform::DirListBox::pathChanged, this, [this] { DirList_Change(); });
    connect(w.DirList, &platform::DirListBox::openFailed, this, [this](const QString& path) {
        tell(QStringLiteral("无法打开目录“%1”：目录不存在或没有读取权限。")
                 .arg(QDir::toNativeSeparators(path)));
    });
    connect(w.FileList, &platform::FileListBox::fileChosen, this,
            [this](const QString& name) { FileList_Click(name); });
    connect(w.FileTxt, &platform::FileListBox::fileChosen, this,
            [this](const QString& name) { FileTxt_Click(name); });
    connect(w.CmdOk, &platform::CommandButton::clicked, this, [this] { CmdOk_Click(); });
    connect(w.CmdCancle, &platform::CommandButton::clicked, this, [this] { CmdCancle_Click(); });
    // Esc presses 退出(&Esc), like a cancel button.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), w.dialog);
    connect(esc, &QShortcut::activated, this, [this] { w_->CmdCancle->button()->click(); });

    Form_Load();
    return w.dialog;
}

// Opening: the selection's columns, and every list on the book directory and its drive.
void frmFile::Form_Load() {
    const FrmFileWidgets& w = *w_;
    const std::vector<float> widths = core::listColumnWidths(w.lvwFile->width(), {1, 4.2, 4.2});
    w.lvwFile->addColumn(QStringLiteral("序号"), widths[0]);
    w.lvwFile->addColumn(QStringLiteral("图像文件名"), widths[1]);
    w.lvwFile->addColumn(QStringLiteral("说明图像的文字文件"), widths[2]);
    rowCount_ = 0;
    driveFolder_.clear();

    const QString here = book_.absolutePath();
    w.DriveList->setDrives(listDrives());
    w.DriveList->showDriveOf(here);
    driveIndex_ = w.DriveList->currentIndex();
    if (!w.DirList->setPath(here)) return;
    w.FileList->setPath(w.DirList->path());
    w.FileTxt->setPath(w.DirList->path());
}

void frmFile::DriveList_Change() {
    const FrmFileWidgets& w = *w_;
    if (driveIndex_ >= 0) {
        const QString left = w.DriveList->drives()[std::size_t(driveIndex_)].path;
        driveFolder_.insert(left, w.DirList->path());
    }
    const QString drive = w.DriveList->drive();
    const QString folder = driveFolder_.value(drive, drive);
    const QString before = w.DirList->path();
    if (!w.DirList->setPath(folder) && !w.DirList->setPath(drive)) {
        // No medium, gone, or no permission: the lists stay on what they showed.
        w.DriveList->setCurrentIndexQuietly(driveIndex_);
        tell(QStringLiteral("无法读取驱动器“%1”：没有介质、已被移除或没有读取权限。")
                 .arg(QDir::toNativeSeparators(drive)));
        return;
    }
    driveIndex_ = w.DriveList->currentIndex();
    if (w.DirList->path() != before) DirList_Change();
}

void frmFile::DirList_Change() {
    const FrmFileWidgets& w = *w_;
    w.FileList->setPath(w.DirList->path());
    w.FileTxt->setPath(w.DirList->path());
    emptySelection();
}

void frmFile::emptySelection() {
    w_->lvwFile->clearRows();
    rowCount_ = 0;
}

void frmFile::FileList_Click(const QString& name) {
    if (const QString why = unrepresentableReason(name); !why.isEmpty()) return tell(why);
    if (rowCount_ == core::kMaxPages)
        return tell(
            QStringLiteral("一本图文读物最多 %1 页，不能再添加图像。").arg(core::kMaxPages));
    ++rowCount_;
    platform::ListView& list = *w_->lvwFile;
    const int row = list.addRow(QString::number(rowCount_));
    list.setText(row, 1, name);
    list.revealLastRow();
}

void frmFile::FileTxt_Click(const QString& name) {
    platform::ListView& list = *w_->lvwFile;
    if (list.rowCount() == 0 || list.text(list.rowCount(), 1).isEmpty())
        return tell(QStringLiteral("请先选择相应的图片文件！"));
    if (const QString why = unrepresentableReason(name); !why.isEmpty()) return tell(why);
    list.setText(rowCount_, 2, name);
}

void frmFile::CmdOk_Click() {
    const FrmFileWidgets& w = *w_;
    std::vector<SelectedPage> pages;
    for (int row = 1; row <= w.lvwFile->rowCount(); ++row)
        pages.push_back({w.lvwFile->text(row, 1), w.lvwFile->text(row, 2)});
    QWidget* dialog = w.dialog;
    const AssemblyReport report =
        assembleBook(QDir(w.DirList->path()), book_, pages, [dialog](const QString& name) {
            const auto answer = platform::messageBox(
                dialog, {QStringLiteral("文件已经存在，是否复盖?"), name,
                         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question});
            return answer == QMessageBox::Ok;
        });
    emit catalogSaved();
    platform::messageBox(
        dialog, {completionMessage(report), QString::fromUtf8(platform::kProgramTitle),
                 QMessageBox::Ok, report.ok() ? QMessageBox::NoIcon : QMessageBox::Warning});
    lifecycle_.unload();
}

void frmFile::CmdCancle_Click() {
    lifecycle_.unload();
}

void frmFile::tell(const QString& text) {
    platform::messageBox(
        w_ ? w_->dialog : owner_,
        {text, QString::fromUtf8(platform::kProgramTitle), QMessageBox::Ok, QMessageBox::NoIcon});
}

}  // namespace builder
