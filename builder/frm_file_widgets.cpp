#include "frm_file_widgets.h"

#include "platform/dialog_lifecycle.h"
#include "platform/fonts.h"
#include "platform/twips.h"

#include <QApplication>
#include <QFont>

namespace builder {
namespace {

using platform::songti;

constexpr float kClientWidth = 8280;
constexpr float kClientHeight = 6750;

const QColor kPink(255, 192, 192);
const QColor kLightGreen(192, 255, 192);
const QColor kLightCyan(192, 255, 255);

// The system's font for a kind of widget, complete, so nothing of the frame's bold font is
// inherited.
QFont systemFont(const char* className) {
    QFont font = QApplication::font(className);
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    widget->setPalette(pal);
}

// List backgrounds: the area behind the entries and, for the drop-down, its face.
void setListColor(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Base, color);
    pal.setColor(QPalette::Button, color);
    widget->setPalette(pal);
}

struct LabelDesign {
    const char* caption;
    float left, width;
    QColor text;
};

// What screen readers say: each control's name and what it does. A captioned control is named
// by its caption already; the directory list describes itself by the path it shows.
void describeForScreenReaders(const FrmFileWidgets& w) {
    using platform::describe, platform::explain;
    w.dialog->setAccessibleDescription(
        QStringLiteral("选取图像和说明文字，复制到当前画本目录并保存目录文件"));
    explain(w.FraDir, "驱动器、目录和文件列表");
    describe(w.DriveList, "驱动器列表", "选择文件所在的驱动器");
    w.DirList->widget()->setAccessibleName(QStringLiteral("目录列表"));
    describe(w.FileList, "图像文件列表（必选）", "单击或回车选取一幅图像，每幅图像为一页");
    describe(w.FileTxt, "文字文件列表（可选）", "单击或回车为最后选取的图像配上说明文字");
    describe(w.lvwFile, "选中文件列表", "已选取的各页：序号、图像文件和文字文件");
    explain(w.CmdOk, "将选的文件复制到当前目录，并保存选中文件列表于DocItem.txt中");
    explain(w.CmdCancle, "不保存，关闭本窗口");
    for (platform::Label* label : w.LblDir)
        label->widget()->setAccessibleDescription(QStringLiteral("标题"));
}

}  // namespace

FrmFileWidgets createFrmFileWidgets(QWidget* owner) {
    FrmFileWidgets w;
    w.dialog = platform::createFixedDialog(owner, QStringLiteral("制作图文电子读物目录"),
                                           kClientWidth, kClientHeight);
    w.dialog->setFont(songti(10.5));

    w.FraDir = new platform::Frame(QStringLiteral("选择图像文件"), w.dialog);
    w.FraDir->place(75, 75, 8040, 3855);
    w.FraDir->setBackColor(kPink);
    w.FraDir->widget()->setFont(songti(10.5, true));
    setTextColor(w.FraDir->widget(), QColor(255, 0, 0));
    QWidget* frame = w.FraDir->widget();

    const std::array<LabelDesign, 4> labels{{
        {"驱动器列表", 150, 1215, QColor(0, 192, 0)},
        {"目录列表", 150, 1065, QColor(0, 192, 0)},
        {"图像文件列表（必选）", 2775, 2265, QColor(0, 192, 0)},
        {"文字文件列表（可选）", 5400, 2265, QColor(0, 0, 255)},
    }};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const LabelDesign& d = labels[i];
        auto* label = new platform::Label(QString::fromUtf8(d.caption), frame);
        label->place(d.left, i == 1 ? 1055 : 375, d.width, 240);
        label->setBackColor(kPink);
        label->widget()->setFont(songti(10.5, true));
        setTextColor(label->widget(), d.text);
        w.LblDir[i] = label;
    }

    w.DriveList = new platform::DriveListBox(frame);
    w.DriveList->place(150, 670, 2190, 330);
    w.DirList = new platform::DirListBox(frame);
    w.DirList->place(150, 1350, 2190, 2250);
    w.FileList = new platform::FileListBox(QString::fromLatin1(kImagePattern), frame);
    w.FileList->place(2700, 675, 2415, 2970);
    w.FileTxt = new platform::FileListBox(QString::fromLatin1(kTextPattern), frame);
    w.FileTxt->place(5400, 675, 2415, 2970);
    for (platform::Control* list :
         {static_cast<platform::Control*>(w.DriveList), static_cast<platform::Control*>(w.DirList),
          static_cast<platform::Control*>(w.FileList)}) {
        setListColor(list->widget(), kLightGreen);
        list->widget()->setFont(songti(10.5));
    }
    setListColor(w.FileTxt->widget(), kLightCyan);
    // Each caption names its list for screen readers too.
    const std::array<platform::Control*, 4> labelled{w.DriveList, w.DirList, w.FileList, w.FileTxt};
    for (std::size_t i = 0; i < labelled.size(); ++i)
        w.LblDir[i]->label()->setBuddy(labelled[i]->widget());
    // The two file lists use the system's dialog font.
    for (platform::FileListBox* list : {w.FileList, w.FileTxt})
        list->widget()->setFont(systemFont("QDialog"));

    // A narrow label whose caption stands as a column left of the list.
    w.Label1 = new platform::Label(QStringLiteral("选中文件列表"), w.dialog);
    w.Label1->place(150, 4575, 315, 1515);
    w.Label1->label()->setWordWrap(true);
    // Lines as tall as the characters, so the six of them fit the label's designed height.
    w.Label1->label()->setText(QStringLiteral(
        "<p style=\"line-height:16px; -qt-line-height-type:fixed\">选中文件列表</p>"));
    w.Label1->label()->setTextFormat(Qt::RichText);
    w.Label1->widget()->setFont(songti(12));
    setTextColor(w.Label1->widget(), QColor(0, 0, 255));

    w.lvwFile = new platform::ListView(w.dialog);
    w.lvwFile->place(450, 4275, 6465, 2340);

    w.CmdOk = new platform::CommandButton(QStringLiteral("确认(&O)"), w.dialog);
    w.CmdOk->place(6975, 4950, 1215, 540);
    w.CmdOk->widget()->setToolTip(
        QStringLiteral("将选的文件复制到当前目录，并保存\"选中文件列表\"于DocItem.txt中"));
    w.CmdCancle = new platform::CommandButton(QStringLiteral("退出(&Esc)"), w.dialog);
    w.CmdCancle->place(6975, 5625, 1215, 465);
    for (platform::CommandButton* button : {w.CmdOk, w.CmdCancle})
        button->widget()->setFont(systemFont("QPushButton"));

    describeForScreenReaders(w);

    const std::array<QWidget*, 7> tour{
        w.lvwFile->widget(),  w.FileTxt->widget(), w.DriveList->widget(), w.DirList->widget(),
        w.FileList->widget(), w.CmdOk->widget(),   w.CmdCancle->widget(),
    };
    for (std::size_t i = 1; i < tour.size(); ++i) QWidget::setTabOrder(tour[i - 1], tour[i]);
    return w;
}

}  // namespace builder
