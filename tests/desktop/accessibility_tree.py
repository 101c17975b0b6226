"""What a screen reader finds in the running reader: reads the AT-SPI tree of the real program
under a private X server and accessibility bus. Every control has a Chinese name and description,
and the page picture is named by the page's title.

usage: accessibility_tree.py <huaben>"""

import re

import xsession
from xsession import check, wait_for

CJK = re.compile(r"[\u4e00-\u9fff]")

# Controls that must be there, by name, each with a Chinese description.
EXPECTED = [
    "目录与命令", "目录", "命令按钮", "图像窗口", "图像区域", "正文", "状态栏", "菜单栏",
    "放大", "缩小", "连续", "暂停", "上一页", "下一页", "满屏", "退出",
    "垂直滚动条", "水平滚动条",
]
# The settings window (Ctrl+P) and the catalog builder (工具 → its last item), with their controls.
DIALOGS = [
    (["ctrl+p"], "图像参数选择",
     ["图像背景色", "浅兰", "黑色", "播放间隔秒数", "播放间隔滚动条", "打印倍率", "打印倍率滚动条", "退出"]),
    (["alt+t", "Up", "Return"], "制作图文电子读物目录",
     ["驱动器列表", "目录列表", "图像文件列表（必选）", "文字文件列表（可选）", "选中文件列表", "确认",
      "退出"]),
]
# Roles of things a person operates or reads; each must be named in Chinese.
OPERATED = {"push button", "menu item", "menu", "menu bar", "tree table", "table", "text",
            "status bar", "scroll bar"}


def chinese(text):
    return bool(text) and bool(CJK.search(text))


def main(s):
    s.launch(s.book)
    check(chinese(s.frame.description), f"the window's description: {s.frame.description!r}")

    for name in EXPECTED:
        node = wait_for(f"the control {name}", lambda: s.named(name))
        check(chinese(node.description), f"{name} has a Chinese description: {node.description!r}")

    menus = [n for n in s.nodes(s.frame) if n.getRoleName() in ("menu", "menu item")]
    check(len(menus) >= 13, f"the menus and their items are in the tree ({len(menus)})")
    unnamed = []
    for node in s.nodes(s.frame):
        role = node.getRoleName()
        if role not in OPERATED:
            continue
        if not chinese(node.name):
            unnamed.append(f"{role} {node.name!r}")
    check(not unnamed, "controls without a Chinese name: " + ", ".join(unnamed))

    picture = wait_for("the start-up picture", lambda: s.picture())
    check(picture.name == "启动画面", f"the start-up picture's name: {picture.name!r}")

    # After a page turn the picture is named by the page title, as the status bar shows it.
    s.key("Next")
    wait_for("page 1", lambda: s.status("页码") == "1")
    picture = wait_for("the picture of page 1", lambda: s.picture())
    check(picture.name == s.status("标题") == "red", f"picture named {picture.name!r}")
    check("red.bmp" in picture.description, f"picture described {picture.description!r}")
    s.key("End")
    wait_for("the picture of page 3 named blue", lambda: s.picture().name == "blue")

    # The two secondary windows: every control named and described in Chinese.
    for keys, title, controls in DIALOGS:
        for k in keys:
            s.key(k)
        dialog = wait_for(f"the window {title}", lambda: s.find(
            lambda n: n.getRoleName() == "dialog" and n.name == title, s.app))
        check(chinese(dialog.description), f"{title} is described: {dialog.description!r}")
        for name in controls:
            node = wait_for(f"{name} in {title}", lambda: s.find(lambda n: n.name == name, dialog))
            check(chinese(node.description), f"{name} has a Chinese description: {node.description!r}")
        # Esc goes to the window that has the focus, the dialog; the reader would end.
        s.xdo("key", "--clearmodifiers", "Escape")
        wait_for(f"{title} closed", lambda: s.find(
            lambda n: n.getRoleName() == "dialog" and n.name == title, s.app) is None)


if __name__ == "__main__":
    xsession.run(main)
