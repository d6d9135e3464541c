#!/usr/bin/env python3
"""Folders named on Korvane's command line, as Explorer starts it for folders
dropped on its icon or sent to it: each is listed in order, as if they had been
dropped together, and the export holds all of them.

Starts korvane.exe under Wine with two folders as arguments, the first with
spaces and Chinese characters in its name (Wine quotes it on the Windows
command line), a missing path and a file between them, waits until the hidden
edit box holds the last folder, exports and compares "目录生成.txt" byte for
byte with a rendering made from the folders on disk. Then starts it without
arguments: the tree stays empty.
Usage: command_line_e2e.py korvane.exe BUILD_DIR (under scripts/with-xvfb).
"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
from korvane_app import Checks, ExportFile, Korvane, describe_difference  # noqa: E402
from tree_render import Expected  # noqa: E402
from wine_session import E2EError, WineSession, dos_path, e2e_prefix, tools_dir  # noqa: E402


def make_file(path, text=""):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main():
    exe, build_dir = sys.argv[1], sys.argv[2]
    checks = Checks()
    base = tempfile.mkdtemp(prefix="korvane-e2e-")
    session = WineSession(tools_dir(build_dir), prefix=e2e_prefix())
    try:
        first = os.path.join(base, "第一 个 目录")
        second = os.path.join(base, "second")
        for rel in ["子 目录/深 层.txt", "文件 一.txt"]:
            make_file(os.path.join(first, rel), rel)
        for rel in ["inner/b.txt", "a.txt"]:
            make_file(os.path.join(second, rel), rel)
        a_file = os.path.join(first, "文件 一.txt")
        missing = os.path.join(base, "不存在")
        export = ExportFile(session)

        arguments = [first, missing, a_file, second]
        app = Korvane(session, exe)
        app.start([dos_path(p) for p in arguments])
        want_edit = dos_path(second)
        app.wait("the listing of the last argument", lambda: app.edit_text() == want_edit, 120)
        expected = Expected()
        for p in arguments:
            expected.drop(p)
        export.remove()
        box = app.export()
        checks.check("message box %r" % box, (box.caption, box.text) == ("信息：", "导出成功！文件在桌面"))
        got, want = export.read(), expected.export()
        checks.check("both folders listed in argument order (%d bytes)" % len(want), got == want,
                     describe_difference(got, want))
        checks.check("the quoted Chinese folder with spaces was listed", "深 层.txt".encode("gbk") in got)
        code = app.close_with_escape()
        checks.check("Esc ends Korvane with exit code 0", code == 0, "exit code %s" % code)

        # Without arguments nothing is listed: the export is empty.
        app = Korvane(session, exe)
        app.start()
        export.remove()
        box = app.export()
        checks.check("no arguments: an empty export", export.read() == b"", repr(export.read()[:80]))
        code = app.close_with_escape()
        checks.check("no arguments: exit code 0", code == 0, "exit code %s" % code)
    except E2EError as e:
        checks.check("the run went through", False, str(e))
    finally:
        session.end_all()
        shutil.rmtree(base, ignore_errors=True)
    return checks.finish()


if __name__ == "__main__":
    sys.exit(main())
