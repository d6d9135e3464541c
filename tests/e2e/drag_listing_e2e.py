#!/usr/bin/env python3
"""Folders dragged onto Korvane from outside, listed and exported, as a user does it.

Starts korvane.exe under Wine, drags folders onto its tree box with our own X11
drag source (one folder; three folders in one drag; the first folder again; a
shallower folder last), clicks "导出" at its place on the screen after each
drop, reads the message box, closes it with Enter, and compares the desktop's
"目录生成.txt" byte for byte with a rendering made from the folder tree on
disk by lib/tree_render.py. Esc ends the program with exit code 0.

The tree holds Chinese names, names with spaces, a name whose last character
has 0x5C as its GBK trail byte (its folder's entries are appended to it without
a separator, as the program's path rule says), hidden (dot) files and folders,
empty folders, a link to its own folder, two links to the dropped folder and
one to a sibling.
Usage: drag_listing_e2e.py korvane.exe BUILD_DIR (under scripts/with-xvfb).
"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
from korvane_app import Checks, ExportFile, Korvane, describe_difference  # noqa: E402
from tree_render import Expected, list_folder  # noqa: E402
from wine_session import E2EError, WineSession, dos_path, e2e_prefix, tools_dir  # noqa: E402

TRAIL_5C = "乗"  # GBK 0x81 0x5C


def make_file(path, text=""):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def build_tree(base):
    """The main fixture, at base/主目录 and beside it."""
    assert TRAIL_5C.encode("gbk")[1:] == b"\\"
    main = os.path.join(base, "主目录")
    for rel in ["文档 资料/报告 2024.txt", "文档 资料/子目录/深层.txt", "Alpha.txt", "beta.txt", "_under.txt",
                "表" + TRAIL_5C + "/内部.txt", "表" + TRAIL_5C + "/下层/x.txt", TRAIL_5C + "车 票.txt",
                ".hidden_dir/.secret", ".profile", "loop/deep/leaf.txt", "Zeta/z.txt"]:
        make_file(os.path.join(main, rel), rel)
    for rel in ["empty", "文档 资料/空"]:
        os.makedirs(os.path.join(main, rel))
    os.symlink("..", os.path.join(main, "loop", "up"))               # the dropped folder
    os.symlink("../..", os.path.join(main, "loop", "deep", "back"))  # the dropped folder again
    os.symlink(".", os.path.join(main, "loop", "self"))              # its own folder
    os.symlink("Zeta", os.path.join(main, "to_zeta"))                # a sibling: entered
    # Three more folders for the drag of three: two at the main folder's depth, one deeper.
    make_file(os.path.join(base, "第二/b1.txt"))
    make_file(os.path.join(base, "第二/内/b2.txt"))
    make_file(os.path.join(base, "third/c.txt"))
    return main


def main():
    exe, build_dir = sys.argv[1], sys.argv[2]
    checks = Checks()
    base = tempfile.mkdtemp(prefix="korvane-e2e-")
    session = WineSession(tools_dir(build_dir), prefix=e2e_prefix())
    try:
        main_folder = build_tree(base)
        export = ExportFile(session)
        export.remove()

        # The order the renderer assumes is the order FindFirstFileA gives.
        for folder in (main_folder, os.path.join(main_folder, "文档 资料")):
            seen = session.ansi_names((dos_path(folder) + "\\*").encode("gbk"))
            listed = [name for name, _, _, _ in list_folder(folder)]
            checks.check("Wine lists %s in the renderer's order" % os.path.basename(folder), seen == listed,
                         "%r vs %r" % (seen, listed))

        app = Korvane(session, exe)
        window = app.start()
        checks.check("the window's caption begins with Korvane1.1", window.text.startswith("Korvane1.1"), window.text)
        expected = Expected()

        def drop_and_compare(title, folders):
            app.drop(folders)
            for f in folders:
                expected.drop(f)
            box = app.export()
            checks.check("%s: message box %r" % (title, box),
                         (box.caption, box.text, len(box.buttons)) == ("信息：", "导出成功！文件在桌面", 1))
            got, want = export.read(), expected.export()
            checks.check("%s: 目录生成.txt byte for byte (%d bytes)" % (title, len(want)), got == want,
                         describe_difference(got, want))

        drop_and_compare("one folder", [main_folder])
        drop_and_compare("three folders in one drag",
                         [os.path.join(base, "第二"), os.path.join(main_folder, "文档 资料"), os.path.join(base, "third")])
        checks.check("the hidden edit box holds the last of the three paths",
                     app.edit_text() == dos_path(os.path.join(base, "third")))
        drop_and_compare("the same folder again", [main_folder])
        drop_and_compare("a shallower folder adds nothing", [base])

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
