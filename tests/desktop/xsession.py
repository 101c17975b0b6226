"""A private X display with an accessibility bus, the reader started on a test book, and the
means to drive it as a person does: real key presses and clicks (xdotool), what the screen shows
(a screenshot's pixels) and what a screen reader hears (the AT-SPI tree).

Scripts call run(main): it skips (exit 77) only when no X server can be started at all."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
TITLE = "澜舟画本编排阅读2002"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=15.0):
    """Polls probe() until it returns something true; fails with `what` after the timeout."""
    end = time.monotonic() + timeout
    last = None
    while time.monotonic() < end:
        try:
            last = probe()
        except Exception as error:  # the tree changes under us while the program works
            last = error
        if last and not isinstance(last, Exception):
            return last
        time.sleep(0.1)
    raise Failure(f"timed out waiting for {what} (last seen: {last!r})")


def make_book(folder):
    """Three flat-colour pages in three formats, each with a plain-text explanation."""
    from PIL import Image

    pages = [
        ("red.bmp", (400, 300), (220, 30, 30), "红色的一页"),
        ("green.gif", (300, 300), (30, 200, 30), "绿色的一页"),
        ("blue.jpg", (600, 200), (30, 30, 220), "蓝色的一页"),
    ]
    catalog = []
    for name, size, colour, text in pages:
        Image.new("RGB", size, colour).save(os.path.join(folder, name))
        stem = name.split(".")[0]
        with open(os.path.join(folder, stem + ".txt"), "w", encoding="utf-8") as f:
            f.write(text)
        catalog.append(f"{name}-{stem}.txt\r\n")
    with open(os.path.join(folder, "DocItem.txt"), "w", encoding="ascii", newline="") as f:
        f.write("".join(catalog))
    return pages


class Session:
    def __init__(self, program, scale=1):
        self.program = program
        self.scale = scale
        self.procs = []
        self.tmp = tempfile.mkdtemp(prefix="huaben-x-")
        self.book = os.path.join(self.tmp, "书 book")
        self.elsewhere = os.path.join(self.tmp, "elsewhere")
        os.makedirs(self.book)
        os.makedirs(self.elsewhere)
        self.pages = make_book(self.book)
        self.reader = None

    # --- the display and the buses ---
    def start(self):
        # Xvfb picks a free display number itself and tells it through a pipe.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1600x1200x24",
             "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
            pass_fds=(write_end,),
        )
        self.procs.append(xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        check(number.isdigit(), "Xvfb did not start")
        self.display = f":{number}"
        os.environ["DISPLAY"] = self.display
        wait_for("the X server", lambda: subprocess.run(
            ["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0)
        bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(bus)
        time.sleep(0.5)

    def launch(self, *args):
        env = dict(os.environ)
        env.update({
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "LANG": "C.UTF-8",
        })
        env.pop("QT_SCALE_FACTOR", None)
        if self.scale != 1:
            env["QT_SCALE_FACTOR"] = str(self.scale)
        self.reader = subprocess.Popen([self.program, *args], cwd=self.elsewhere, env=env)
        self.procs.append(self.reader)
        self.window = wait_for("the reader window", lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", TITLE],
            capture_output=True, text=True).stdout.split())[0]
        self.xdo("windowfocus", "--sync", self.window)
        self.app = wait_for("the reader on the accessibility bus", self._find_app)
        self.frame = wait_for("the reader's frame", lambda: self.find(
            lambda n: n.getRoleName() == "frame" and n.name == TITLE, self.app))

    def _find_app(self):
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "huaben":
                return app
        return None

    def stop(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # --- input ---
    def xdo(self, *args):
        subprocess.run(["xdotool", *args], check=True)

    def key(self, name):
        self.xdo("windowfocus", "--sync", self.window)
        self.xdo("key", "--clearmodifiers", name)

    def click(self, x, y, button=1):
        self.xdo("mousemove", "--sync", str(int(x)), str(int(y)))
        self.xdo("click", str(button))

    def click_node(self, node):
        x, y, w, h = self.extents(node)
        self.click(x + w / 2, y + h / 2)

    # --- what a screen reader sees ---
    def nodes(self, root=None):
        root = root or self.frame
        stack = [root]
        while stack:
            node = stack.pop()
            if node is None:
                continue
            yield node
            try:
                stack.extend(node.getChildAtIndex(i) for i in range(node.childCount))
            except Exception:
                pass

    def find(self, predicate, root=None):
        for node in self.nodes(root):
            try:
                if predicate(node):
                    return node
            except Exception:
                pass
        return None

    def named(self, name, role=None):
        return self.find(lambda n: n.name == name and (role is None or n.getRoleName() == role))

    def picture(self):
        """The page picture: named by the page title, described as the page's picture."""
        return self.find(lambda n: "页的图像" in (n.description or "") or n.name == "启动画面")

    def showing(self, node):
        import pyatspi
        return node.getState().contains(pyatspi.STATE_SHOWING)

    def extents(self, node):
        import pyatspi
        e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        # Qt reports device-independent pixels; the screen and xdotool count device pixels.
        k = self.scale
        return e.x * k, e.y * k, e.width * k, e.height * k

    def status(self, which):
        """A status panel's text: 标题 (title) or 页码 (page number)."""
        node = self.find(lambda n: n.getRoleName() == "label" and n.description == which)
        if node is None:
            return None
        # A panel is named by its text, or by what it is for while it is empty.
        return "" if node.name == which else node.name

    # --- what the screen shows ---
    def screenshot(self):
        from PIL import Image
        path = os.path.join(self.tmp, "shot.png")
        subprocess.run(["import", "-display", self.display, "-window", "root", path], check=True)
        return Image.open(path).convert("RGB")


def close(colour, expected, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def run(main):
    """Runs main(session) under a private display and session bus."""
    if shutil.which("Xvfb") is None:
        print("SKIP: Xvfb is not installed")
        sys.exit(SKIP)
    if "HUABEN_IN_DBUS" not in os.environ:
        # A session bus of our own, so the accessibility bus is ours too.
        env = dict(os.environ, HUABEN_IN_DBUS="1")
        sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable, *sys.argv], env=env))
    program = sys.argv[1]
    scale = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    session = Session(program, scale)
    try:
        session.start()
        main(session)
    except Failure as failure:
        print(f"FAIL: {failure}")
        sys.exit(1)
    finally:
        session.stop()
    print("PASS")
