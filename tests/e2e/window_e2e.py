#!/usr/bin/env python3
"""Korvane's main window as a user meets it.

Starts korvane.exe under Wine and checks, from outside the program: the
window's title, outer size and centred place (on the Windows side and as the
X window on the screen), its fixed frame, that the tree box, the hint and the
"导出" button are drawn where the form puts them, that Tab and Shift+Tab pressed
on the X keyboard walk the four tab stops in order (the hint label never),
that Enter moves nothing, and that Esc ends the program with exit code 0.
Then it opens the program once more in Wine's virtual desktop, where Wine
draws the caption bar itself, and saves a screenshot as BUILD_DIR/korvane-window.png.

Usage: window_e2e.py korvane.exe BUILD_DIR (under scripts/with-xvfb).
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
from korvane_app import Checks, Korvane  # noqa: E402
from window_probe import (WS_CAPTION, WS_EX_DLGMODALFRAME, WS_EX_TOOLWINDOW, WS_EX_TOPMOST,  # noqa: E402
                          WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_SYSMENU, WS_THICKFRAME, WindowProbe,
                          region_brightness, screenshot, x_geometry, x_screen_size, x_window_name, x_windows)
from wine_session import E2EError, WineSession, dos_path, e2e_prefix, tools_dir, wait_for  # noqa: E402

WIDTH, HEIGHT = 580, 455
TREE_BOX = (7, 8, 560, 360)
LABEL = (56, 376, 328, 48)
EXPORT_BUTTON = (416, 383, 144, 32)
HINT = "请拖放需要查询的文件夹到软件界面，可查询子文件夹内文件"

# The tab stops in tab order, as (window class, text).
EDIT = ("Edit", "")
EXPORT = ("Button", "导出")
QUERY = ("Button", "查询")
TREE = ("SysTreeView32", "")
NAMES = {EDIT: "编辑框1", EXPORT: "按钮2", QUERY: "按钮1", TREE: "树型框1"}


def name_of(focus):
    return NAMES.get(focus, repr(focus))


def wait_focus(probe, hwnd, want, timeout=5.0):
    """The focus once it is want, or whatever it is when the time is up."""
    deadline = time.monotonic() + timeout
    while True:
        focus = probe.focus(hwnd)
        if focus == want or time.monotonic() > deadline:
            return focus
        time.sleep(0.2)


def check_window(checks, session, probe, app, window, shot_path):
    caption = window.text
    checks.check("the caption is Korvane1.1 followed by a notice",
                 caption.startswith("Korvane1.1") and len(caption.strip()) > len("Korvane1.1"), caption)

    xids = x_windows("^Korvane1\\.1")
    checks.check("xdotool finds one X window named ^Korvane1.1", len(xids) == 1, str(xids))
    if xids:
        checks.check("the X window carries the whole caption", x_window_name(xids[0]) == caption,
                     x_window_name(xids[0]))

    screen_w, screen_h = probe.screen()
    checks.check("Windows and X agree on the screen size", (screen_w, screen_h) == x_screen_size(),
                 "%dx%d" % (screen_w, screen_h))
    left, top, right, bottom = window.rect
    checks.check("outer size 580 by 455", (right - left, bottom - top) == (WIDTH, HEIGHT),
                 "%dx%d" % (right - left, bottom - top))
    want_left, want_top = (screen_w - WIDTH) // 2, (screen_h - HEIGHT) // 2
    checks.check("centred on the screen: left, top = %d, %d" % (want_left, want_top),
                 (left, top) == (want_left, want_top), "%d, %d" % (left, top))

    # Without a window manager Wine leaves the caption bar and the outer frame
    # to the (absent) manager, so the X window is the outer rectangle less
    # those: inside the outer rectangle, around the client area, with equal
    # frames left, right and below, hence centred across the screen too.
    if xids:
        x, y, w, h = x_geometry(xids[0])
        cx, cy = window.client_origin
        cw, ch = window.client_size
        inside = left <= x and top <= y and x + w <= right and y + h <= bottom
        around = x <= cx and y <= cy and cx + cw <= x + w and cy + ch <= y + h
        checks.check("the X window lies in the outer rectangle and holds the client area", inside and around,
                     "X %d,%d %dx%d; outer %s; client %d,%d %dx%d" % (x, y, w, h, window.rect, cx, cy, cw, ch))
        side = x - left
        checks.check("equal frames left, right and below the X window",
                     side >= 0 and right - (x + w) == side and bottom - (y + h) == side,
                     "left %d right %d bottom %d" % (side, right - (x + w), bottom - (y + h)))
        checks.check("the X window is centred across the screen", abs(2 * x + w - screen_w) <= 1,
                     "x %d width %d screen %d" % (x, w, screen_w))

    style, ex_style = probe.style(window.hwnd)
    checks.check("caption, system menu and minimize box", (style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) ==
                 (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), "%08x" % style)
    checks.check("no maximize box and no sizing border", not style & (WS_MAXIMIZEBOX | WS_THICKFRAME), "%08x" % style)
    checks.check("a dialog frame, neither topmost nor a tool window",
                 ex_style & WS_EX_DLGMODALFRAME and not ex_style & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
                 "%08x" % ex_style)

    children = app.main_window().children
    texts = sorted(c.text for c in children if c.text)
    checks.check("the controls' texts", texts == sorted(["导出", "查询", HINT]), str(texts))

    # What is drawn where the form puts it: the tree box's white inside, the
    # hint's dark letters on the button face, the button's caption.
    screenshot(shot_path)
    ox, oy = window.client_origin

    def on_screen(place, inset=4):
        l, t, w, h = place
        return ox + l + inset, oy + t + inset, w - 2 * inset, h - 2 * inset

    tree_mean, _ = region_brightness(shot_path, *on_screen(TREE_BOX))
    checks.check("the tree box is drawn white", tree_mean > 0.97, "mean %.3f" % tree_mean)
    label_mean, label_dark = region_brightness(shot_path, *on_screen(LABEL))
    checks.check("the hint's letters are drawn", label_dark < 0.4 and 0.5 < label_mean < 0.98,
                 "mean %.3f darkest %.3f" % (label_mean, label_dark))
    _, button_dark = region_brightness(shot_path, *on_screen(EXPORT_BUTTON, inset=8))
    checks.check("the 导出 button's caption is drawn", button_dark < 0.4, "darkest %.3f" % button_dark)


def check_keys(checks, session, probe, app, window):
    app.activate()  # a click on the hint, as a user brings the window forward
    start = wait_focus(probe, window.hwnd, EDIT)
    checks.check("the focus starts on the first tab stop, 编辑框1", start == EDIT, name_of(start))

    order = [EXPORT, QUERY, TREE, EDIT, EXPORT]
    seen = [start]
    for want in order:
        session.key("Tab")
        seen.append(wait_focus(probe, window.hwnd, want))
    checks.check("Tab walks 编辑框1, 按钮2, 按钮1, 树型框1 and round again",
                 seen == [EDIT] + order, " -> ".join(name_of(f) for f in seen))

    order = [EDIT, TREE, QUERY, EXPORT, EDIT]
    seen = [probe.focus(window.hwnd)]
    for want in order:
        session.key("shift+Tab")
        seen.append(wait_focus(probe, window.hwnd, want))
    checks.check("Shift+Tab walks them backwards", seen == [EXPORT] + order,
                 " -> ".join(name_of(f) for f in seen))

    session.key("Return")
    time.sleep(0.5)
    after = probe.focus(window.hwnd)
    checks.check("Enter does not move the focus and the window stays", after == EDIT and app.alive(),
                 name_of(after))


def take_desktop_screenshot(checks, session, exe, path):
    """Korvane in Wine's virtual desktop, where the caption bar is drawn."""
    desktop = "KorvaneShot"
    process = session.start("explorer", "/desktop=%s,1024x768" % desktop, dos_path(exe))
    try:
        wait_for("the virtual desktop", lambda: x_windows("^%s" % desktop), 60)
        # Korvane's window lives inside the desktop's X window; its place there
        # follows from the form: centred in 1024x768.
        left, top = (1024 - WIDTH) // 2, (768 - HEIGHT) // 2
        desktop_x, desktop_y, _, _ = x_geometry(x_windows("^%s" % desktop)[0])

        def drawn():
            screenshot(path)
            mean, _ = region_brightness(path, desktop_x + left + 40, desktop_y + top + 60, 400, 200)
            return mean > 0.97  # the tree box's white
        wait_for("Korvane drawn in the virtual desktop", drawn, 60, interval=1.0)
        time.sleep(1.0)
        screenshot(path)
        # Only the virtual desktop, as a user of it sees the screen.
        subprocess.run(["convert", path, "-crop", "1024x768+%d+%d" % (desktop_x, desktop_y), "+repage", path],
                       check=True)
        print("screenshot in the virtual desktop: %s" % path, flush=True)

        # Esc closes it there too; the desktop goes with its last window.
        subprocess.run(["xdotool", "mousemove", str(desktop_x + left + 200), str(desktop_y + top + 420),
                        "click", "1"], check=True)
        time.sleep(0.3)
        subprocess.run(["xdotool", "key", "Escape"], check=True)
        try:
            process.wait(timeout=30)
            ended = True
        except subprocess.TimeoutExpired:
            ended = False
        checks.check("Esc closes Korvane in the virtual desktop too, and the desktop ends with it", ended)
    finally:
        session.end_all()


def main():
    if len(sys.argv) < 3:
        print("usage: window_e2e.py korvane.exe BUILD_DIR", file=sys.stderr)
        return 2
    exe, build_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    checks = Checks()
    session = WineSession(tools_dir(build_dir), prefix=e2e_prefix())
    probe = WindowProbe(session)
    try:
        app = Korvane(session, exe)
        window = app.start()
        time.sleep(0.5)  # let it paint
        check_window(checks, session, probe, app, window, os.path.join(build_dir, "korvane-window-x11.png"))
        check_keys(checks, session, probe, app, window)
        code = app.close_with_escape()
        checks.check("Esc ends Korvane with exit code 0", code == 0, "exit code %s" % code)
        session.end_all()
        take_desktop_screenshot(checks, session, exe, os.path.join(build_dir, "korvane-window.png"))
    except (E2EError, subprocess.SubprocessError, OSError) as e:
        checks.check("the run went through", False, str(e))
    finally:
        session.end_all()
    return checks.finish()


if __name__ == "__main__":
    sys.exit(main())
