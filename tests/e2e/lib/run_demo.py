#!/usr/bin/env python3
"""Shows Korvane's main job on a machine without a display (called by scripts/run
under scripts/with-xvfb): starts Korvane in Wine's virtual desktop, drags a
folder onto it, opens the first branch, saves a screenshot of the window,
clicks "导出", prints the message and the first lines of the export file, and
closes Korvane with Esc. Ends every process it started.

Usage: run_demo.py KORVANE_EXE TOOLS_DIR FOLDER SCREENSHOT [LINES]
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from korvane_app import TITLE, ExportFile, Korvane, TREE_BOX  # noqa: E402
from wine_session import E2EError, WineSession, wait_for, wine_root  # noqa: E402

DESKTOP = "Korvane"
DESKTOP_SIZE = "1024x768"


def say(text):
    print("run: " + text, flush=True)


def demo_prefix():
    root = wine_root()
    return os.path.join(root, "run-%s" % os.environ.get("KORVANE_WINE_LANG", "zh_CN.UTF-8").split(".")[0])


def main():
    exe, tools, folder, shot = sys.argv[1:5]
    lines = int(sys.argv[5]) if len(sys.argv) > 5 else 12
    folder = os.path.abspath(folder)
    session = WineSession(tools, prefix=demo_prefix(), virtual_desktop=DESKTOP)
    try:
        # The virtual desktop gives the window its caption bar, as on Windows.
        desktop = session.start("explorer", "/desktop=%s,%s" % (DESKTOP, DESKTOP_SIZE), exe)
        app = Korvane(session, exe)
        app.process = desktop
        app.window = app.wait("Korvane's window", lambda: session.find_window(TITLE), 90)
        say("Korvane is running on a virtual screen (DISPLAY=%s) in Wine's virtual desktop" % os.environ["DISPLAY"])

        app.drop([folder])
        say("dragged %s onto Korvane's window; it lists the folder" % folder)

        # Open the first branch as a user would: click its text, press the right arrow.
        left, top = TREE_BOX[0], TREE_BOX[1]
        session.click(*app.screen(left + 40, top + 10))
        session.key("Right")
        time.sleep(0.5)
        l, t, r, b = app.main_window().rect
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (r - l, b - t, l, t), "+repage",
                        shot], check=True)

        export = ExportFile(session)
        box = app.export()
        say("clicked 导出; the message box %s says: %s" % (box.caption, box.text))
        with open(export.path, "rb") as f:
            content = f.read()
        shown = content.split(b"\r\n")
        say("the first %d of %d lines of %s:" % (min(lines, len(shown)), len(shown), export.path))
        for line in shown[:lines]:
            print("    " + line.decode("gbk", "replace"))
        say("screenshot of the listed tree: %s" % shot)

        app.activate()
        session.key("Escape")
        wait_for("Korvane to close", lambda: session.find_window(TITLE) is None, 30)
        say("Korvane closed")
        return 0
    except E2EError as e:
        say("FAILED: %s" % e)
        return 1
    finally:
        session.end_all()


if __name__ == "__main__":
    sys.exit(main())
