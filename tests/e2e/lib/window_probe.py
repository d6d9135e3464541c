"""The main window seen from outside: window_probe.exe for what only Windows
knows (keyboard focus, screen size, styles), xdotool and xwininfo for the X
side, ImageMagick for screenshots and their pixels."""

import os
import re
import subprocess

from wine_session import unescape

# Window styles the checks look at.
WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WS_THICKFRAME = 0x00040000
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000
WS_EX_DLGMODALFRAME = 0x00000001
WS_EX_TOPMOST = 0x00000008
WS_EX_TOOLWINDOW = 0x00000080


class WindowProbe:
    def __init__(self, session):
        self.session = session
        self.exe = os.path.join(session.tools_dir, "window_probe.exe")

    def run(self, *args):
        result = subprocess.run(["wine", self.exe] + [str(a) for a in args], env=self.session.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        return result.stdout.decode("utf-8", "replace")

    def focus(self, hwnd):
        """(class, text) of the control with the keyboard focus in the window's
        thread, or None when nothing has it."""
        for line in self.run("focus", "%x" % hwnd).splitlines():
            fields = line.split("\t")
            if fields[0] == "focus" and len(fields) >= 5:
                if int(fields[1], 16) == 0:
                    return None
                return unescape(fields[2]), unescape(fields[3])
        return None

    def screen(self):
        for line in self.run("screen").splitlines():
            fields = line.split("\t")
            if fields[0] == "screen":
                return int(fields[1]), int(fields[2])
        raise AssertionError("window_probe gave no screen size")

    def style(self, hwnd):
        for line in self.run("style", "%x" % hwnd).splitlines():
            fields = line.split("\t")
            if fields[0] == "style":
                return int(fields[1], 16), int(fields[2], 16)
        raise AssertionError("window_probe gave no style")


def x_windows(name_regex):
    """X window ids whose name matches, as xdotool finds them."""
    result = subprocess.run(["xdotool", "search", "--name", name_regex], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    return [int(v) for v in result.stdout.split()]


def x_window_name(xid):
    return subprocess.run(["xdotool", "getwindowname", str(xid)], stdout=subprocess.PIPE,
                          check=True).stdout.decode("utf-8", "replace").rstrip("\n")


def x_geometry(xid):
    """(left, top, width, height) of an X window on the screen, from xwininfo."""
    text = subprocess.run(["xwininfo", "-id", str(xid)], stdout=subprocess.PIPE, check=True).stdout.decode()

    def field(name):
        return int(re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(name), text, re.M).group(1))

    return field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height")


def x_screen_size():
    text = subprocess.run(["xdpyinfo"], stdout=subprocess.PIPE, check=True).stdout.decode()
    m = re.search(r"dimensions:\s+(\d+)x(\d+) pixels", text)
    return int(m.group(1)), int(m.group(2))


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, stderr=subprocess.DEVNULL)


def region_brightness(path, left, top, width, height):
    """(mean, darkest) brightness of a screen region, each from 0 (black) to 1."""
    out = subprocess.run(["convert", path, "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
                          "-colorspace", "Gray", "-format", "%[fx:mean] %[fx:minima]", "info:"],
                         stdout=subprocess.PIPE, check=True).stdout.decode().split()
    return float(out[0]), float(out[1])
