"""End to end: the installed-style program opened on a book folder given on its command line,
driven by real key presses, clicks, the wheel and a drag under a private X server. Checks the
status bar through the accessibility tree and the page picture through a screenshot's pixels.

usage: reader_e2e.py <huaben> [scale]"""

import math
import os
import time

import xsession
from xsession import check, close, wait_for

RED, GREEN, BLUE = (220, 30, 30), (30, 200, 30), (30, 30, 220)
COLOURS = {"red": RED, "green": GREEN, "blue": BLUE}


def main(s):
    s.launch(s.book)
    viewport = wait_for("the picture viewport", lambda: s.named("图像窗口"))

    def on_page(number, title):
        wait_for(f"page {number} ({title}) in the status bar",
                 lambda: s.status("页码") == str(number) and s.status("标题") == title)
        picture = wait_for("the picture named by its title",
                           lambda: s.picture() if s.picture().name == title else None)
        x, y, w, h = s.extents(viewport)
        # The picture is fitted into the viewport: its centre shows the page's colour.
        wait_for(f"{title} on screen", lambda: close(
            s.screenshot().getpixel((x + w // 2, y + h // 2)), COLOURS[title]))
        return picture

    # The keys beside the design's own: each turns the page as the buttons do.
    for key, number, title in [
        ("Next", 1, "red"),        # Page Down from the start shows the first page
        ("space", 2, "green"),
        ("Right", 3, "blue"),
        ("Right", 1, "red"),       # wraps past the last page
        ("BackSpace", 3, "blue"),  # and back past the first
        ("Prior", 2, "green"),
        ("Left", 1, "red"),
        ("End", 3, "blue"),
        ("Home", 1, "red"),
    ]:
        s.key(key)
        on_page(number, title)

    # A real click on the command bar's 下一页, then on the catalog's third row.
    s.click_node(s.named("下一页", "push button"))
    on_page(2, "green")
    cell = wait_for("the catalog row 'blue'",
                    lambda: s.find(lambda n: n.name == "blue" and n.getRoleName() == "table cell"))
    s.click_node(cell)
    picture = on_page(3, "blue")

    # Enlarged with Ctrl+wheel until it overflows: a scroll bar appears.
    _, _, w0, _ = s.extents(picture)
    x, y, w, h = s.extents(viewport)
    s.xdo("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
    # Ctrl held down while the wheel turns four notches, as a hand does it.
    s.xdo("keydown", "ctrl")
    time.sleep(0.3)
    # The wheel turns until the picture is twice as wide; every size it takes is a whole number
    # of 1.2 steps, as the 放大 button makes.
    for _ in range(12):
        s.xdo("click", "4")
        time.sleep(0.3)
        ratio = s.extents(s.picture())[2] / w0
        steps = math.log(ratio) / math.log(1.2)
        check(abs(steps - round(steps)) < 0.1, f"zoomed by {ratio:.3f}, not in 1.2 steps")
        if ratio > 2:
            break
    check(ratio > 2, f"Ctrl+wheel enlarged the picture only {ratio:.3f} times")
    s.xdo("keyup", "ctrl")
    hbar = s.named("水平滚动条")
    wait_for("the horizontal scroll bar", lambda: s.showing(hbar))
    check(hbar.queryValue().currentValue == 0, "the bar starts at the left")

    # Dragging the picture to the left pans it: the bar follows, and no click happened.
    s.xdo("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
    s.xdo("mousedown", "1")
    for step in range(1, 6):
        s.xdo("mousemove", "--sync", str(x + w // 2 - step * 30), str(y + h // 2))
    s.xdo("mouseup", "1")
    wait_for("the scroll bar moved by the drag", lambda: hbar.queryValue().currentValue > 0)
    check(s.showing(s.named("目录")), "a drag is not a click: the catalog is still shown")

    # A plain click on the picture shows it full screen; Esc comes back, Esc again ends.
    x, y, w, h = s.extents(viewport)
    s.click(x + w // 2, y + h // 2)
    wait_for("image full screen", lambda: not s.showing(s.named("目录")))
    x2, y2, w2, h2 = s.extents(viewport)
    check(w2 > w and h2 > h, "the viewport fills the window")
    shot = s.screenshot()
    check(close(shot.getpixel((x2 + w2 // 2, y2 + h2 // 2)), BLUE), "full screen shows the page")
    s.key("Escape")
    wait_for("the standard split", lambda: s.showing(s.named("目录")))
    s.key("Escape")
    check(s.reader.wait(timeout=10) == 0, "Esc ends the program cleanly")

    # The book was read where the command line said; the start directory was left alone.
    check(not os.listdir(s.elsewhere), "nothing written to the start directory")


if __name__ == "__main__":
    xsession.run(main)
