#include "frmmain.h"

#include <QMenu>
#include <QMenuBar>

namespace reader {
namespace {

QAction* item(QMenu* menu, const char* caption, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setShortcut(shortcut);
    // Shortcuts work in every view mode, also while a menu's owner widget is hidden.
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

}  // namespace

void frmmain::createMenus() {
    QMenuBar* bar = menuBar();

    QMenu* menuFace = bar->addMenu(QStringLiteral("页面设置(&F)"));
    menuPicData = item(menuFace, "图像设置", QKeySequence(Qt::CTRL | Qt::Key_P));
    menuTextBack = item(menuFace, "文本背景", QKeySequence(Qt::CTRL | Qt::Key_T));
    menuReader = item(menuFace, "标准分区", QKeySequence(Qt::Key_F1));
    menuPicFullScr = item(menuFace, "图像满屏显示", QKeySequence(Qt::Key_F2));
    menuTextLarge = item(menuFace, "文本最大", QKeySequence(Qt::Key_F3));
    menuFace->addSeparator();
    menuPrint = item(menuFace, "打印图像");
    menuFace->addSeparator();
    menuExit = item(menuFace, "退出(&X)");

    QMenu* menuTool = bar->addMenu(QStringLiteral("工具(&T)"));
    menuPicLarge = item(menuTool, "图像放大", QKeySequence(Qt::Key_F5));
    menuPicSmall = item(menuTool, "图像缩小", QKeySequence(Qt::Key_F6));
    menuAutoShow = item(menuTool, "自动播放", QKeySequence(Qt::Key_F7));
    menuStopAuto = item(menuTool, "暂停自动播放", QKeySequence(Qt::Key_F8));
    menuTool->addSeparator();
    menuEditBook = item(menuTool, "编辑本书(&B)");
    menuDocItem = item(menuTool, "制作图文列表");

    // Help is a command on the menu bar itself, without a drop-down.
    menuHelp = bar->addAction(QStringLiteral("帮助(&H)"));
}

}  // namespace reader
