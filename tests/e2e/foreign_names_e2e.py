#!/usr/bin/env python3
"""Names outside code page 936 and paths past 1,000 characters, dragged onto
Korvane from outside: nothing beneath them goes missing.

Starts korvane.exe under Wine and drags, with our own X11 drag source, first a
folder with a Chinese name that holds folders and files named in German,
Hungarian, Spanish, Korean and with an emoji, a chain of folders whose paths
pass 260 and 1,000 characters with files at the bottom, folders that mix files
and sub-folders in their listing, a link back to the dropped folder and two
links to the same folder; then a folder whose own name is outside the code
page, dropped on its own. After each drop it clicks "导出" and compares the
desktop's "目录生成.txt" byte for byte with a rendering made from the tree on
disk by lib/tree_render.py: every entry at its level, under the name the
system's conversion to code page 936 gives ("?" for what it cannot hold).
Before that it checks the renderer's order and names against what Wine's
FindFirstFileA reports for the folders that function can reach.
Usage: foreign_names_e2e.py korvane.exe BUILD_DIR (under scripts/with-xvfb).
"""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
from korvane_app import Checks, ExportFile, Korvane, describe_difference  # noqa: E402
from tree_render import Expected, ansi_bytes, ansi_text, list_folder  # noqa: E402
from wine_session import E2EError, WineSession, dos_path, e2e_prefix, tools_dir  # noqa: E402

FOREIGN = ["Motörhead", "Ő ñ España", "한국어", "\U0001F3B8 guitar"]
DROPPED_ALONE = "Björk 한"  # a folder whose own name is outside the code page
# Every name of the tree outside the code page's plain reach. Windows turns a
# few letters it cannot hold into near ones (Ü into ü, É into é), which
# lib/tree_render.py does not know: none of these has such a letter, and the
# test checks that Wine gives each the form the renderer does.
NAMES_USED = FOREIGN + [DROPPED_ALONE, "Öffnung", "tief ö.txt", "ängste", "bottom ö.txt", "zurück", "c ä", "d ß.txt",
                        "Ärger.txt", "Ångström", "å.txt", "Ñandú", "ü.txt"]


def make_file(path, text="x"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def build_tree(base):
    """base/外文 (dropped first) and base/外文/Björk 한 (dropped on its own)."""
    main = os.path.join(base, "外文")
    for name in FOREIGN:
        make_file(os.path.join(main, name, name + ".txt"))
        make_file(os.path.join(main, name, "Öffnung " + name, "tief ö.txt"))
        make_file(os.path.join(main, name, "plain.txt"))
    # Files and folders alternate in the listing of "mixed".
    for rel in ["mixed/a/1.txt", "mixed/b.txt", "mixed/c ä/2.txt", "mixed/d ß.txt", "mixed/e/3.txt", "mixed/f.txt"]:
        make_file(os.path.join(main, rel))
    # A chain past 1,000 characters, files at the bottom and one per level.
    folder = os.path.join(main, "long")
    level = 0
    while len(dos_path(folder)) < 1100:
        folder = os.path.join(folder, "level-%02d-ängste" % level + "x" * 12)
        make_file(os.path.join(folder, "f%02d.txt" % level))
        level += 1
    make_file(os.path.join(folder, "bottom ö.txt"))
    make_file(os.path.join(folder, "sub", "inner.txt"))
    # Links: one back to the dropped folder, two to the same folder.
    os.symlink("..", os.path.join(main, "Motörhead", "zurück"))
    os.symlink("한국어", os.path.join(main, "same-1"))
    os.symlink("한국어", os.path.join(main, "same-2"))
    make_file(os.path.join(main, "普通.txt"))
    make_file(os.path.join(main, "Ärger.txt"))
    # A file named after each name above, where FindFirstFileA can list them.
    for name in NAMES_USED:
        make_file(os.path.join(main, "names", "名 " + name))
    alone = os.path.join(main, DROPPED_ALONE)
    make_file(os.path.join(alone, "Ångström", "å.txt"))
    make_file(os.path.join(alone, "Ñandú", "ü.txt"))
    make_file(os.path.join(alone, "plain.txt"))
    return main, alone, level


def main():
    exe, build_dir = sys.argv[1], sys.argv[2]
    checks = Checks()
    base = tempfile.mkdtemp(prefix="korvane-e2e-foreign-")
    session = WineSession(tools_dir(build_dir), prefix=e2e_prefix())
    try:
        main_folder, alone, levels = build_tree(base)
        export = ExportFile(session)
        export.remove()

        # The renderer's order and names are those of Wine's FindFirstFileA.
        # (A folder whose own ANSI name holds "?" cannot be searched by it.)
        for folder in (main_folder, os.path.join(main_folder, "mixed"), os.path.join(main_folder, "names")):
            seen = session.ansi_names(ansi_bytes(dos_path(folder)) + b"\\*")
            listed = [name for name, _, _, _ in list_folder(folder)]
            checks.check("Wine lists %s in the renderer's order, under its names" % os.path.basename(folder),
                         seen == listed, "%r vs %r" % (seen, listed))

        app = Korvane(session, exe)
        app.start()
        expected = Expected()

        def drop_and_compare(title, folder):
            app.drop([folder])
            expected.drop(folder)
            box = app.export()
            checks.check("%s: export reported as done" % title, box.text == "导出成功！文件在桌面", repr(box))
            got, want = export.read(), expected.export()
            checks.check("%s: 目录生成.txt byte for byte (%d lines)" % (title, want.count(b"\r\n") + 1), got == want,
                         describe_difference(got, want))
            return got

        got = first = drop_and_compare("foreign names, long chain, links", main_folder)
        lines = got.split(b"\r\n")
        checks.check("one line per entry", len(lines) == len(expected.path_list), "%d lines" % len(lines))
        for name in FOREIGN:
            checks.check("%r is listed as %r" % (name, ansi_text(name)), b"----" + ansi_bytes(name) in lines)
        # Beneath each of the four, and beneath the link that leads to 한국어 once more.
        checks.check("what lies beneath those folders is listed",
                     lines.count(b"------------tief ?.txt") == len(FOREIGN) + 1)
        checks.check("the bottom of the chain past 1,000 characters is listed at its level",
                     b"----" * (levels + 2) + b"bottom ?.txt" in lines)
        checks.check("every level of the chain is listed with its file",
                     all(b"----" * (i + 3) + b"f%02d.txt" % i in lines for i in range(levels)))
        checks.check("the link back to the dropped folder is listed once",
                     lines.count(b"--------" + ansi_bytes("zurück")) == 1)
        checks.check("of two links to the same folder, one is entered",
                     lines.count(b"--------" + ansi_bytes("Öffnung 한국어")) == 2)

        got = drop_and_compare("a dropped folder whose own name is outside the code page", alone)
        checks.check("the hidden edit box holds its name as the code page gives it",
                     app.edit_text() == ansi_text(dos_path(alone)), repr(app.edit_text()))
        checks.check("its entries are listed once more",
                     got.endswith(b"----plain.txt") and got.count(b"?ngstr?m") == first.count(b"?ngstr?m") + 1)

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
