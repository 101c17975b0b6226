"""What a screen reader finds in the running reader: reads the AT-SPI tree of the real program
under a private X server and accessibility bus. Every control has a Chinese name and description,
and the page picture is named by the page's title.

usage: accessibility_tree.py <huaben>"""

import os
import re
import subprocess
import time

import xsession
from xsession import check, wait_for

CJK = re.compile(r"[\u4e00-\u9fff]")

# Controls that must be there, by name, each with a Chinese description.
EXPECTED = [
    "目录与命令", "目录", "命令按钮", "图像窗口", "图像区域", "正文", "状态栏", "菜单栏",
    "放大", "缩小", "连续", "暂停", "上一页", "下一页", "满屏", "退出",
    "垂直滚动条", "水平滚动条",
]
# The settings window (Ctrl+P), the catalog builder (工具 → its last item) and the book editor (the
# item before it), with their controls.
DIALOGS = [
    (["ctrl+p"], "图像参数选择",
     ["图像背景色", "浅兰", "黑色", "播放间隔秒数", "播放间隔滚动条", "打印倍率", "打印倍率滚动条", "退出"]),
    (["alt+t", "Up", "Return"], "制作图文电子读物目录",
     ["驱动器列表", "目录列表", "图像文件列表（必选）", "文字文件列表（可选）", "选中文件列表", "确认",
      "退出"]),
    (["alt+t", "Up", "Up", "Return"], "编辑本书",
     ["页面", "添加图片…", "上移", "下移", "删除此页", "撤销", "重做", "保存", "本页文字", "粗体", "斜体",
      "下划线", "颜色…", "左对齐", "居中", "右对齐", "字体", "字号", "状态"]),
]
# Roles of things a person operates or reads; each must be named in Chinese.
OPERATED = {"push button", "menu item", "menu", "menu bar", "tree table", "table", "text",
            "status bar", "scroll bar"}


BUILDER = "制作图文电子读物目录"
LISTS = ("目录列表", "图像文件列表（必选）", "文字文件列表（可选）")


def chinese(text):
    return bool(text) and bool(CJK.search(text))


def make_folders(book):
    """A folder of pictures and texts inside the book, with a sub-folder of its own. Names
    mix scripts, spaces and upper case; the non-matching file and the folders must not be
    listed as files. Returns what each of the two lists: (directories, pictures, texts)."""
    from PIL import Image

    pics = os.path.join(book, "图片 pics")
    sub = os.path.join(pics, "子目录 sub")
    os.makedirs(os.path.join(sub, "更深 deeper"))
    folder = (["..", "子目录 sub"],
              ["晨光.bmp", "flower.gif", "海 sea.jpg", "MOUNTAIN.JPEG", "tree.jpg", "zz.ico"],
              ["说明 notes.txt", "readme.TXT", "故事.rtf"])
    inner = (["..", "更深 deeper"], ["a.bmp", "桥.gif"], ["桥.txt"])
    for where, (_, pictures, texts) in ((pics, folder), (sub, inner)):
        for i, name in enumerate(pictures):
            image = Image.new("RGB", (32, 32), (40 * i, 90, 160))
            image.save(os.path.join(where, name), format={".jpg": "JPEG", ".jpeg": "JPEG"}.get(
                os.path.splitext(name)[1].lower()))
        for name in texts:
            with open(os.path.join(where, name), "w", encoding="utf-8") as f:
                f.write("文字")
        with open(os.path.join(where, "table.doc"), "w") as f:
            f.write("not listed")
    return folder, inner


def entries(s, dialog, name):
    """A builder list as a screen reader has it: the list, its entries (headers left out) and
    its row count."""
    lst = s.find(lambda n: n.name == name and n.getRoleName() in ("list", "tree", "tree table"),
                 dialog)
    items = [lst.getChildAtIndex(i) for i in range(lst.childCount)]
    items = [n for n in items if n.getRoleName() in ("list item", "table cell")]
    return lst, items, lst.queryTable().nRows


def require_listed(s, dialog, expected):
    """Every entry of the three lists, and nothing else, is a named item that covers the place
    where it is drawn: inside its list and the window, in screen order, over its drawn text."""
    for name, want in zip(LISTS, expected):
        wait_for(f"{name} to list {want}", lambda: sorted(
            n.name for n in entries(s, dialog, name)[1]) == sorted(want))
    shot = s.screenshot()
    window = s.extents(dialog)
    for name, want in zip(LISTS, expected):
        lst, items, rows = entries(s, dialog, name)
        check(rows == len(want), f"{name} has {rows} rows for {len(want)} entries")
        box = s.extents(lst)
        check(inside(box, window), f"{name} {box} lies in the window {window}")
        previous_bottom = None
        for entry in items:
            x, y, w, h = s.extents(entry)
            where = f"{name}: {entry.name!r} at {(x, y, w, h)}"
            check(w > 0 and h > 0, f"{where} has a size")
            check(inside((x, y, w, h), box), f"{where} lies in its list {box}")
            check(previous_bottom is None or y >= previous_bottom, f"{where} follows the row above")
            previous_bottom = y + h
            ink = drawn_text(shot.crop((int(x), int(y), int(x + w), int(y + h))))
            check(ink >= 2, f"{where} covers its drawn name ({ink} pixels of text)")


def drawn_text(area):
    """Pixels of an area that stand out from its background, the colour most of it has."""
    pixels = list(area.getdata())
    background = max(set(pixels), key=pixels.count)
    return sum(1 for p in pixels if sum(abs(a - b) for a, b in zip(p, background)) > 150)


def inside(inner, outer):
    x, y, w, h = inner
    ox, oy, ow, oh = outer
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


def item(s, dialog, list_name, name):
    return next(n for n in entries(s, dialog, list_name)[1] if n.name == name)


def open_directory(s, dialog, name, path):
    """Double-clicks a directory where the screen reader says it is; the heading follows."""
    x, y, w, h = s.extents(item(s, dialog, "目录列表", name))
    s.xdo("mousemove", "--sync", str(int(x + w / 2)), str(int(y + h / 2)))
    s.xdo("click", "--repeat", "2", "--delay", "80", "1")
    wait_for(f"the directory list on {path}", lambda: s.find(
        lambda n: n.getRoleName() == "table column header" and n.name == path, dialog))


def selection(s, dialog):
    """The rows of the selection list: (number, picture, text) as a screen reader reads them."""
    lst = s.find(lambda n: n.name == "选中文件列表" and n.getRoleName() != "label", dialog)
    cells = [lst.getChildAtIndex(i) for i in range(lst.childCount)]
    names = [c.name for c in cells if c.getRoleName() == "table cell"]
    return [tuple(names[i:i + 3]) for i in range(0, len(names), 3)]


def builder_lists(s):
    folder, inner = make_folders(s.book)
    pics = os.path.join(s.book, "图片 pics")
    for k in ["alt+t", "Up", "Return"]:
        s.key(k)
    dialog = wait_for(BUILDER, lambda: s.find(
        lambda n: n.getRoleName() == "dialog" and n.name == BUILDER, s.app))
    # The book itself: its three pictures, its texts and the catalog, and the folder in it.
    require_listed(s, dialog, (["..", "图片 pics"], [p[0] for p in s.pages],
                               [p[0].split(".")[0] + ".txt" for p in s.pages] + ["DocItem.txt"]))

    open_directory(s, dialog, "图片 pics", pics)
    require_listed(s, dialog, folder)
    # A click where an entry is said to be chooses that entry: each picture becomes a page,
    # and the text goes with the picture chosen last.
    for number, picture in enumerate(folder[1], start=1):
        s.click_node(item(s, dialog, "图像文件列表（必选）", picture))
        wait_for(f"{picture} as page {number}",
                 lambda: selection(s, dialog)[-1:] == [(str(number), picture, "")])
    text = folder[2][0]
    s.click_node(item(s, dialog, "文字文件列表（可选）", text))
    wait_for(f"{text} with the last page", lambda: selection(s, dialog)[-1] == (
        str(len(folder[1])), folder[1][-1], text))

    open_directory(s, dialog, "子目录 sub", os.path.join(pics, "子目录 sub"))
    require_listed(s, dialog, inner)
    check(selection(s, dialog) == [], "a change of directory empties the selection")
    open_directory(s, dialog, "..", pics)
    require_listed(s, dialog, folder)
    s.xdo("key", "--clearmodifiers", "Escape")


def labelled(label):
    """The control a label names for screen readers, or None."""
    import pyatspi
    for relation in label.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR and relation.getNTargets():
            return relation.getTarget(0)
    return None


def focus(s, title):
    """Gives the window of this title the keyboard, as a window manager would on a click."""
    windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                             capture_output=True, text=True).stdout.split()
    if windows:
        s.xdo("windowfocus", "--sync", windows[-1])


def drag(s, source, target):
    """Drags with the mouse from the middle of one node to the middle of another."""
    (x0, y0, w0, h0), (x1, y1, w1, h1) = s.extents(source), s.extents(target)
    start, end = (x0 + w0 / 2, y0 + h0 / 3), (x1 + w1 / 2, y1 + h1 / 3)
    s.xdo("mousemove", "--sync", str(int(start[0])), str(int(start[1])))
    s.xdo("mousedown", "1")
    for step in range(1, 21):
        x = start[0] + (end[0] - start[0]) * step / 20
        y = start[1] + (end[1] - start[1]) * step / 20
        s.xdo("mousemove", "--sync", str(int(x)), str(int(y)))
        time.sleep(0.03)
    time.sleep(0.3)
    s.xdo("mouseup", "1")


def editor_pages(s, dialog):
    """Every page of the editor's grid is an item named by its number and title, on screen
    inside the grid, and shown as its picture there; a page dragged onto another with the
    mouse moves before it, and Ctrl+Z puts it back."""
    grid = s.find(lambda n: n.name == "页面" and n.getRoleName() in ("list", "table"), dialog)
    want = ["1. red", "2. green", "3. blue"]
    items = lambda: [grid.getChildAtIndex(i) for i in range(grid.childCount)]
    wait_for("the grid's pages", lambda: [n.name for n in items()] == want)
    box = s.extents(grid)
    shot = s.screenshot()
    for entry, (_, _, colour, _) in zip(items(), s.pages):
        x, y, w, h = s.extents(entry)
        where = f"page {entry.name!r} at {(x, y, w, h)}"
        check(w > 0 and h > 0 and inside((x, y, w, h), box), f"{where} lies in the grid {box}")
        check(entry.getRoleName() == "list item", f"{where} is a list item")
        # The thumbnail fills the item's upper middle.
        pixel = shot.getpixel((int(x + w / 2), int(y + h / 3)))
        check(xsession.close(pixel, colour), f"{where} shows its picture: {pixel} for {colour}")

    drag(s, items()[2], items()[0])
    wait_for("page 3 dragged before page 1",
             lambda: [n.name for n in items()] == ["1. blue", "2. red", "3. green"])
    focus(s, "编辑本书")
    s.xdo("key", "--clearmodifiers", "ctrl+z")
    wait_for("the drag undone", lambda: [n.name for n in items()] == want)


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
            # A control before the label that names it for the screen reader.
            node = wait_for(f"{name} in {title}", lambda: s.find(
                lambda n: n.name == name and n.getRoleName() != "label", dialog) or s.find(
                lambda n: n.name == name, dialog))
            if node.getRoleName() == "label":
                # An editable box is spoken by its text; its label names it, as Orca reads it.
                node = labelled(node) or node
            check(chinese(node.description),
                  f"{name} ({node.getRoleName()}) has a Chinese description: {node.description!r}")
        if title == "编辑本书":
            editor_pages(s, dialog)
        # Esc goes to the window that has the focus, the dialog; the reader would end. Without a
        # window manager a window that is not modal gets the focus only when given it.
        focus(s, title)
        s.xdo("key", "--clearmodifiers", "Escape")
        # Gone, or hidden: the editor stays, to open again as it was left.
        wait_for(f"{title} closed", lambda: s.find(
            lambda n: n.getRoleName() == "dialog" and n.name == title and s.showing(n),
            s.app) is None)

    builder_lists(s)


if __name__ == "__main__":
    xsession.run(main)
