// What screen readers say about each control of the reader window.
#include "frmmain.h"

#include "core/page_display.h"

#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>

namespace reader {
namespace {

using platform::describe;

// The buttons are named by their captions; these say what a press does.
constexpr const char* kButtonDescriptions[8] = {
    "图像放大",   "图像缩小",   "自动连续播放", "暂停自动连续播放",
    "显示上一页", "显示下一页", "满屏显示图像", "结束本程序",
};

struct MenuText {
    QAction* frmmain::*item;
    const char* description;
};

constexpr MenuText kMenuTexts[] = {
    {&frmmain::menuPicData, "设置播放间隔、打印比例和图像背景色"},
    {&frmmain::menuTextBack, "选择文字窗口的背景颜色"},
    {&frmmain::menuReader, "目录、图像和文字分区显示"},
    {&frmmain::menuPicFullScr, "图像占满整个窗口"},
    {&frmmain::menuTextLarge, "文字占据图像的位置"},
    {&frmmain::menuPrint, "按打印比例打印当前图像"},
    {&frmmain::menuExit, "结束本程序"},
    {&frmmain::menuPicLarge, "图像放大"},
    {&frmmain::menuPicSmall, "图像缩小"},
    {&frmmain::menuAutoShow, "自动连续播放各页"},
    {&frmmain::menuStopAuto, "暂停自动连续播放"},
    {&frmmain::menuEditBook, "调整本书各页的顺序、删除页面"},
    {&frmmain::menuDocItem, "选取图像和文字，制作画本目录"},
    {&frmmain::menuHelp, "显示帮助文档"},
};

}  // namespace

void frmmain::describeControls() {
    setAccessibleDescription(QStringLiteral("画本阅读窗口：左侧目录与命令按钮，右侧图像和文字"));
    describe(client(), "阅读区", "目录、命令按钮、图像、文字和状态栏");
    describe(VScr, "垂直滚动条", "上下移动放大后的图像");
    describe(HScr, "水平滚动条", "左右移动放大后的图像");
    describe(FraTxtCmd, "目录与命令", "画本目录和命令按钮");
    describe(listVW, "目录", "画本各页的目录，单击一行显示该页，正在显示的页以粗体标出");
    describe(FraCmdPic, "命令按钮", "放大、缩小、连续播放、暂停、翻页、满屏和退出");
    for (int i = 0; i < 8; ++i) platform::explain(CmdPic[i], kButtonDescriptions[i]);
    describe(PicPic, "图像窗口", "显示页面图像；滚轮滚动，Ctrl+滚轮缩放，拖动平移");
    describe(PicPic->inner(), "图像区域", "页面图像所在的区域");
    describe(ImgPic, "启动画面", "尚未打开任何页面");
    describe(RTBoxShow[0], "正文", "当前页的说明文字");
    describe(RTBoxShow[1], "帮助文档", "内置的帮助文档，平时隐藏");
    describe(stBar, "状态栏", "当前页的标题和页码");
    // The scroll bars the list and the text pane bring along.
    describe(listVW->tree()->verticalScrollBar(), "目录垂直滚动条", "上下滚动目录");
    describe(listVW->tree()->horizontalScrollBar(), "目录水平滚动条", "左右滚动目录");
    for (platform::RichTextBox* box : RTBoxShow) {
        describe(box->edit()->verticalScrollBar(), "文字垂直滚动条", "上下滚动文字");
        describe(box->edit()->horizontalScrollBar(), "文字水平滚动条", "左右滚动文字");
    }

    describe(menuBar(), "菜单栏", "页面设置、工具和帮助");
    for (QAction* top : menuBar()->actions()) {
        if (QMenu* menu = top->menu()) {
            QString name = menu->title();
            name.remove(QLatin1Char('&'));
            menu->setAccessibleName(name);
            menu->setAccessibleDescription(name + QStringLiteral("菜单"));
        }
    }
    for (const MenuText& m : kMenuTexts) {
        QAction* action = this->*m.item;
        // Qt's screen-reader view of a menu item carries its name only; the description is
        // there for What's This help.
        action->setWhatsThis(QString::fromUtf8(m.description));
    }
}

// The picture is named by its page's title, as the status bar shows it.
void frmmain::describePicture(int16_t row) {
    const QString title = core::pageTitle(*listVW, row);
    ImgPic->widget()->setAccessibleName(title.isEmpty() ? QStringLiteral("第%1页").arg(row)
                                                        : title);
    ImgPic->widget()->setAccessibleDescription(
        QStringLiteral("第%1页的图像：%2").arg(row).arg(core::pageImageFile(*listVW, row)));
}

}  // namespace reader
