#!/usr/bin/env python3
"""A long listing shows its progress: Korvane answers while it lists a large
tree, its label tells how many entries were found so far, and afterwards the
label shows its own text again and the tree is exact.

Makes a tree of about 300,000 entries, drags it onto the tree box, reads the
label from outside (WM_GETTEXT, as another process) again and again while the
listing runs, then exports and compares "目录生成.txt" byte for byte with a
rendering made from the folder tree on disk.
Usage: progress_e2e.py korvane.exe BUILD_DIR (under scripts/with-xvfb).
"""

import os
import re
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
from korvane_app import TREE_BOX, Checks, ExportFile, Korvane, centre, describe_difference  # noqa: E402
from tree_render import Expected  # noqa: E402
from wine_session import E2EError, WineSession, dos_path, e2e_prefix, tools_dir  # noqa: E402

HINT = "请拖放需要查询的文件夹到软件界面，可查询子文件夹内文件"
PROGRESS = re.compile(r"^正在列出… ([0-9,]+) 项  (.*)$")
FOLDERS, FILES = 3000, 99


def build_tree(base):
    top = os.path.join(base, "大 目录")
    for i in range(FOLDERS):
        folder = os.path.join(top, "组%02d" % (i % 30), "d%04d" % i)
        os.makedirs(folder)
        for j in range(FILES):
            os.close(os.open(os.path.join(folder, "f%02d.txt" % j), os.O_CREAT | os.O_WRONLY, 0o644))
    return top


def label_text(app):
    statics = [c for c in app.main_window().children if c.cls == "Static"]
    if not statics:
        raise E2EError("the main window has no label")
    return statics[0].text if statics[0].live else None


def main():
    exe, build_dir = sys.argv[1], sys.argv[2]
    checks = Checks()
    base = tempfile.mkdtemp(prefix="korvane-e2e-")
    session = WineSession(tools_dir(build_dir), prefix=e2e_prefix())
    try:
        top = build_tree(base)
        export = ExportFile(session)
        export.remove()
        app = Korvane(session, exe)
        app.start()
        checks.check("the label shows its own text at start", label_text(app) == HINT, repr(label_text(app)))

        x, y = app.screen(*centre(TREE_BOX))
        result = session.drag([top], x, y)
        if not (result.accepted and result.finished and result.success):
            raise E2EError("the window did not take the drop: %s" % result)
        readings, unanswered = [], 0
        deadline = time.monotonic() + 300
        while time.monotonic() < deadline:
            text = label_text(app)
            if text is None:
                unanswered += 1
            elif text == HINT:
                if readings:
                    break
            else:
                readings.append(text)
        print("label readings: %r" % readings[:3] + (" ... %d in all" % len(readings)), flush=True)
        counts = []
        for text in readings:
            m = PROGRESS.match(text)
            checks.check("a progress text: %r" % text, m is not None and m.group(2).startswith("Z:\\"))
            if m:
                counts.append(int(m.group(1).replace(",", "")))
        checks.check("the label was read at least twice during the listing", len(counts) >= 2, repr(counts))
        checks.check("the count grows", all(a < b for a, b in zip(counts, counts[1:])), repr(counts))
        checks.check("the window answered while listing", unanswered == 0, "%d unanswered reads" % unanswered)
        checks.check("the label shows its own text afterwards", label_text(app) == HINT, repr(label_text(app)))

        expected = Expected()
        expected.drop(top)
        box = app.export()
        checks.check("message box %r" % box, (box.caption, box.text) == ("信息：", "导出成功！文件在桌面"))
        got, want = export.read(), expected.export()
        checks.check("the tree is exact (%d bytes)" % len(want), got == want, describe_difference(got, want))
        code = app.close_with_escape()
        checks.check("Esc ends Korvane with exit code 0", code == 0, "exit code %s" % code)
    except E2EError as e:
        checks.check("the run went through", False, str(e))
    finally:
        session.end_all()
        shutil.rmtree(base, ignore_errors=True)
    return checks.finish()


if __name__ == "__main__":
    sys.exit(main())
