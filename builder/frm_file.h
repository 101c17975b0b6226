#pragma once

#include "frm_file_widgets.h"

#include "platform/dialog_lifecycle.h"
#include "platform/drives.h"

#include <QDir>
#include <QHash>
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace builder {

// The catalog builder: the person picks images, one page each, and a text for the image chosen
// last, from one directory of any drive; OK copies them into the book, writes the book's
// catalog and reports it through `catalogSaved`. The object lives for the whole run; its
// controls and the selection exist only while the dialog is open.
class frmFile : public QObject {
    Q_OBJECT
  public:
    // book: the book directory, where files are copied and the catalog is written; owner: the
    // reader window, parent of the dialog widget.
    frmFile(const QDir& book, QWidget* owner);
    ~frmFile() override;

    frmFile(const frmFile&) = delete;
    frmFile& operator=(const frmFile&) = delete;

    // The drives offered; the machine's own unless a test gives others.
    std::function<std::vector<platform::Drive>()> listDrives;

    // Menu 制作图文列表: opens the dialog, or brings it forward when it is already open.
    void Show();

    using State = platform::DialogLifecycle::State;
    State state() const { return lifecycle_.state(); }
    // The live controls, or nullptr while the dialog is closed.
    const FrmFileWidgets* widgets() const { return w_ ? &*w_ : nullptr; }
    // Rows added since the selection was last emptied.
    int16_t IntRowCount() const { return rowCount_; }

    // Handlers, named after the controls that raise them.
    void DriveList_Change();
    void DirList_Change();
    void FileList_Click(const QString& name);
    void FileTxt_Click(const QString& name);
    void CmdOk_Click();
    void CmdCancle_Click();

  signals:
    // DocItem.txt has been written (or its writing tried): the reader reloads its catalog.
    void catalogSaved();

  private:
    QDialog* load();
    void Form_Load();
    void emptySelection();
    void tell(const QString& text);

    QDir book_;
    QWidget* owner_;
    std::optional<FrmFileWidgets> w_;
    int16_t rowCount_ = 0;
    int driveIndex_ = -1;                  // the drive chosen before the current choice
    QHash<QString, QString> driveFolder_;  // where each drive was left, like a drive's own
                                           // current directory
    platform::DialogLifecycle lifecycle_;
};

}  // namespace builder
