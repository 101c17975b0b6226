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


if __name__ == "__main__":
    xsession.run(main)
