"""Wine and X11 plumbing shared by the end-to-end tests and scripts/run.

A WineSession holds the environment of one Wine prefix (the one chosen by
scripts/lib/wine-env), starts Windows programs in it, looks at their windows
through e2e_peek.exe (a Windows program that reads window texts and places as
any other process on the desktop could), and drives the mouse and keyboard
with xdotool. Every process it starts it ends by its id.
"""

import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
sys.path.insert(0, HERE)

import xdnd_drag  # noqa: E402  (after the path set-up above)


class E2EError(AssertionError):
    pass


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"t": "\t", "n": "\n", "r": "\r", "\\": "\\"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


class Window:
    """A window as e2e_peek.exe saw it. Rectangles are in screen coordinates."""

    def __init__(self, fields):
        self.hwnd = int(fields[1], 16)
        self.pid = int(fields[2])
        self.visible = fields[3] == "1"
        self.cls = unescape(fields[4])
        self.text = unescape(fields[5])
        self.rect = tuple(int(v) for v in fields[6:10])
        self.client_origin = (int(fields[10]), int(fields[11]))
        self.client_size = (int(fields[12]), int(fields[13]))
        self.children = []

    def __repr__(self):
        return "Window(%#x %r %r visible=%s rect=%s)" % (self.hwnd, self.cls, self.text, self.visible, self.rect)


class Child:
    def __init__(self, fields):
        self.hwnd = int(fields[2], 16)
        self.id = int(fields[3])
        self.visible = fields[4] == "1"
        self.cls = unescape(fields[5])
        self.text = unescape(fields[6])
        self.rect = tuple(int(v) for v in fields[7:11])
        self.live = len(fields) > 11 and fields[11] == "1"

    def __repr__(self):
        return "Child(%r %r id=%d)" % (self.cls, self.text, self.id)


def wait_for(what, probe, timeout=30.0, interval=0.2):
    """Calls probe() until it returns something true; returns that or raises."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise E2EError("timed out waiting for " + what)
        time.sleep(interval)


class WineSession:
    """One Wine prefix on the current X display."""

    def __init__(self, tools_dir, prefix=None, own_desktop=True, virtual_desktop=None):
        if not os.environ.get("DISPLAY"):
            raise E2EError("no DISPLAY: run under scripts/with-xvfb")
        self.tools_dir = tools_dir
        self.virtual_desktop = virtual_desktop  # the name given to explorer /desktop=, if any
        env = dict(os.environ)
        if prefix:
            env["KORVANE_WINEPREFIX"] = prefix
        # The project's own choice of prefix, locale and debug settings; this
        # also creates the prefix the first time.
        dump = subprocess.run(["bash", "-c", 'source "$1/scripts/lib/wine-env" && env -0', "wine-env", ROOT],
                              env=env, check=True, stdout=subprocess.PIPE).stdout
        self.env = dict(item.split("=", 1) for item in dump.decode("utf-8", "surrogateescape").split("\0") if "=" in item)
        self.prefix = self.env["WINEPREFIX"]
        self.processes = []
        if own_desktop:
            self._own_desktop_folder()
            self._quiet_crashes()
            self._caption_glyphs()

    def _own_desktop_folder(self):
        """Wine links the profile's Desktop to $HOME when there is no XDG desktop;
        the tests' prefix gets a real folder of its own so that exports stay in it."""
        user = self.env.get("USER") or os.environ.get("USER") or "root"
        desktop = os.path.join(self.prefix, "drive_c", "users", user, "Desktop")
        if os.path.islink(desktop):
            os.unlink(desktop)
        os.makedirs(desktop, exist_ok=True)

    def _quiet_crashes(self):
        """A crash ends the process instead of leaving Wine's crash dialog on the
        screen, so that a test sees the exit code at once."""
        marker = os.path.join(self.prefix, ".korvane-e2e-quiet-crashes")
        if os.path.exists(marker):
            return
        subprocess.run(["wine", "reg", "add", "HKCU\\Software\\Wine\\WineDbg", "/v", "ShowCrashDialog",
                        "/t", "REG_DWORD", "/d", "0", "/f"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        open(marker, "w").close()

    def _caption_glyphs(self):
        """Wine draws the caption buttons with the Marlett font; Debian ships it in
        fonts-wine but Wine only finds it in the prefix's Fonts folder."""
        source = "/usr/share/wine/fonts/marlett.ttf"
        target = os.path.join(self.prefix, "drive_c", "windows", "Fonts", "marlett.ttf")
        if os.path.exists(source) and not os.path.exists(target):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(source, target)

    # -- processes ----------------------------------------------------------

    def start(self, exe, *args, stdout=None, stdin=None, extra_env=None, wrapper=()):
        env = dict(self.env)
        if extra_env:
            env.update(extra_env)
        process = subprocess.Popen(list(wrapper) + ["wine", exe] + list(args), env=env, stdout=stdout,
                                   stdin=stdin, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def run_tool(self, *args, timeout=60):
        exe = os.path.join(self.tools_dir, "e2e_peek.exe")
        result = subprocess.run(["wine", exe] + list(args), env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, timeout=timeout)
        return result.stdout.decode("utf-8", "replace")

    def ansi_names(self, pattern):
        """The names Wine's FindFirstFileA and FindNextFileA report for pattern
        (code page 936 bytes), in their order, "." and ".." left out."""
        lines = self.run_tool("find", pattern.hex()).splitlines()
        names = [line.split()[2] for line in lines if line.startswith("entry ")]
        return [bytes.fromhex(h) for h in names if h not in ("2e", "2e2e")]

    def end_all(self):
        """Ends every process this session started that is still running, by its id."""
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    pass
        self.processes = []

    def stop_wineserver(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)

    # -- looking at windows -------------------------------------------------

    def windows(self):
        tops = []
        listing = ("windows-on", self.virtual_desktop) if self.virtual_desktop else ("windows",)
        for line in self.run_tool(*listing).splitlines():
            fields = line.split("\t")
            if fields[0] == "W" and len(fields) >= 14:
                tops.append(Window(fields))
            elif fields[0] == "C" and len(fields) >= 11 and tops:
                tops[-1].children.append(Child(fields))
        return tops

    def find_window(self, title_prefix, visible=True):
        # Wine answers IsWindowVisible with false for a window of another desktop.
        visible = visible and not self.virtual_desktop
        for w in self.windows():
            if w.text.startswith(title_prefix) and (w.visible or not visible):
                return w
        return None

    def wait_window(self, title_prefix, timeout=60.0):
        return wait_for("a window titled %r" % title_prefix, lambda: self.find_window(title_prefix), timeout)

    def wait_window_gone(self, hwnd, timeout=30.0):
        wait_for("window %#x to close" % hwnd,
                 lambda: all(w.hwnd != hwnd or not w.visible for w in self.windows()), timeout)

    def desktop_folder_unix(self):
        dos = self.run_tool("desktop").strip()
        if not dos:
            raise E2EError("the shell names no desktop folder")
        unix = subprocess.run(["winepath", "-u", dos], env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, check=True).stdout.decode().strip()
        return os.path.realpath(unix)

    # -- the user's hands ---------------------------------------------------

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=True)

    def click(self, x, y):
        self.xdotool("mousemove", x, y)
        time.sleep(0.1)
        self.xdotool("click", 1)

    def key(self, name):
        self.xdotool("key", name)

    def drag(self, paths, x, y, before_drop=None):
        return xdnd_drag.drag(paths, x, y, before_drop=before_drop, innermost=bool(self.virtual_desktop))


def dos_path(unix_path):
    """The path Wine shows a Windows program for a path outside the prefix (Z: is /)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def tools_dir(build_dir):
    return os.environ.get("KORVANE_E2E_TOOLS") or os.path.join(build_dir, "tests", "e2e")


def wine_root():
    """The folder of this run's prefixes, as scripts/lib/wine-env chooses it:
    32-bit programs get WoW64 prefixes of their own."""
    bits = os.environ.get("KORVANE_WINE_BITS", "64")
    return os.environ.get("KORVANE_WINE_ROOT") or os.path.join(ROOT, "build", "wine" if bits == "64" else "wine32")


def e2e_prefix():
    """The end-to-end tests' own prefix, beside the others of this run (so that
    scripts/with-xvfb ends its wineserver too), with a desktop folder of its own."""
    root = wine_root()
    lang = os.environ.get("KORVANE_WINE_LANG", "zh_CN.UTF-8").split(".")[0]
    return os.path.join(root, "e2e-%s-%s" % (os.environ.get("KORVANE_WINE_VERSION", "win10"), lang))


def have_program(name):
    return shutil.which(name) is not None
