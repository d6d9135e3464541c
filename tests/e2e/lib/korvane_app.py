"""Korvane as a user meets it: started, dropped on, its export button clicked,
its message box answered, closed with Esc. Places come from the window's
layout as the user sees it (client coordinates), turned into screen
coordinates through the window's client origin."""

import os
import subprocess

from tree_render import ansi_text
from wine_session import E2EError, dos_path, wait_for

TITLE = "Korvane1.1"
EXPORT_NAME = "目录生成.txt"
MESSAGE_CAPTION = "信息："
EXPORT_BUTTON = (416, 383, 144, 32)  # 按钮2 "导出", client coordinates
TREE_BOX = (7, 8, 560, 360)          # 树型框1
LABEL = (56, 376, 328, 48)           # 标签1, the hint; it never takes the focus


def centre(place):
    left, top, width, height = place
    return left + width // 2, top + height // 2


class MessageBox:
    def __init__(self, window):
        self.caption = window.text
        statics = [c.text for c in window.children if c.cls == "Static" and c.text]
        self.text = statics[0] if statics else ""
        self.buttons = [c.text for c in window.children if c.cls == "Button" and c.visible]

    def __repr__(self):
        return "MessageBox(%r, %r, buttons=%r)" % (self.caption, self.text, self.buttons)


class Korvane:
    def __init__(self, session, exe, wrapper=()):
        self.session = session
        self.exe = exe
        self.wrapper = wrapper
        self.process = None
        self.window = None

    # -- life ---------------------------------------------------------------

    def start(self, args=()):
        """Starts korvane.exe, with args as its command line's arguments."""
        if self.session.find_window(TITLE):
            raise E2EError("a Korvane window is already open before the test starts")
        self.process = self.session.start(self.exe, *args, wrapper=self.wrapper)
        self.window = self.wait("the main window", lambda: self.session.find_window(TITLE), 60)
        return self.window

    def alive(self):
        return self.process is not None and self.process.poll() is None

    def wait(self, what, probe, timeout=60.0):
        def checked():
            if not self.alive():
                raise E2EError("Korvane ended (exit code %s) while waiting for %s" % (self.process.poll(), what))
            return probe()
        return wait_for(what, checked, timeout)

    def activate(self):
        """Clicks the hint label, as a user brings a window to the front. Without a
        window manager Wine gives no window the focus after a message box closes."""
        self.session.click(*self.screen(*centre(LABEL)))

    def close_with_escape(self, timeout=30.0):
        """Brings the window to the front, presses Esc and returns the exit code."""
        self.activate()
        self.session.key("Escape")
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise E2EError("Korvane did not end after Esc")

    # -- reading ------------------------------------------------------------

    def main_window(self):
        for w in self.session.windows():
            if w.hwnd == self.window.hwnd:
                return w
        raise E2EError("the main window is gone")

    def edit_text(self):
        """The hidden edit box's text, read from the window itself; None while the
        program is busy (its thread does not answer)."""
        edits = [c for c in self.main_window().children if c.cls == "Edit"]
        if not edits:
            raise E2EError("the main window has no edit box")
        return edits[0].text if edits[0].live else None

    def screen(self, x, y):
        ox, oy = self.window.client_origin
        return ox + x, oy + y

    # -- the user's actions -------------------------------------------------

    def drop(self, paths, before_drop=None, timeout=120.0):
        """Drags paths from outside onto the tree box in one drag and waits until
        the program has listed the last of them (its edit box holds that path and
        it answers again)."""
        x, y = self.screen(*centre(TREE_BOX))
        result = self.session.drag(paths, x, y, before_drop=before_drop)
        if not (result.accepted and result.finished and result.success):
            raise E2EError("the window did not take the drop: %s" % result)
        want = ansi_text(dos_path(paths[-1]))  # what the program received
        self.wait("the listing of %s" % want, lambda: self.edit_text() == want, timeout)
        return result

    def export(self, timeout=120.0):
        """Clicks 导出, reads the message box and closes it with Enter."""
        self.session.click(*self.screen(*centre(EXPORT_BUTTON)))
        box_window = self.wait("the message box", lambda: self.session.find_window(MESSAGE_CAPTION), timeout)
        box = MessageBox(box_window)
        self.session.key("Return")
        self.wait("the message box to close", lambda: self.session.find_window(MESSAGE_CAPTION) is None, 30)
        return box


class ExportFile:
    """The desktop's "目录生成.txt" of the session's prefix."""

    def __init__(self, session):
        self.folder = session.desktop_folder_unix()
        self.path = os.path.join(self.folder, EXPORT_NAME)
        self.dos = session.run_tool("desktop").strip().rstrip("\\") + "\\" + EXPORT_NAME

    def remove(self):
        if os.path.lexists(self.path):
            os.unlink(self.path)

    def read(self):
        with open(self.path, "rb") as f:
            return f.read()


def describe_difference(got, want):
    """A short account of where two export files differ, lines decoded from GBK."""
    got_lines = got.split(b"\r\n")
    want_lines = want.split(b"\r\n")
    for i in range(max(len(got_lines), len(want_lines))):
        g = got_lines[i] if i < len(got_lines) else None
        w = want_lines[i] if i < len(want_lines) else None
        if g != w:
            show = lambda b: "(none)" if b is None else b.decode("gbk", "replace")
            return "%d lines, expected %d; first difference at line %d: got %r, expected %r" % (
                len(got_lines), len(want_lines), i + 1, show(g), show(w))
    return "same lines, different bytes (line ends?)"


class Checks:
    """Collects named checks; a failed one is reported and the run goes on."""

    def __init__(self):
        self.passed = 0
        self.failures = []

    def check(self, name, condition, detail=""):
        if condition:
            self.passed += 1
            print("ok: " + name, flush=True)
        else:
            self.failures.append(name)
            print("FAILED: %s%s" % (name, (": " + detail) if detail else ""), flush=True)
        return condition

    def finish(self):
        print("%d passed, %d failed" % (self.passed, len(self.failures)))
        return 1 if self.failures else 0
