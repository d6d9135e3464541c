#!/usr/bin/env python3
"""Bad inputs dragged onto Korvane from outside: nothing lost, no hang.

One run of korvane.exe under Wine, driven like a user, an export after each
step compared byte for byte with lib/tree_render.py's rendering:
  - a file dropped instead of a folder, on a fresh start: nothing listed;
  - a folder that vanishes after the drag began and before the drop is handled;
  - names with &, %, ^, #, a leading "----" and leading spaces, written verbatim;
  - an unreadable sub-folder: listed, empty, its later siblings still listed;
  - a link cycle with two links to an ancestor;
  - a tree deeper than 260 characters: every level is listed;
  - 20 drops in a row of the same folder;
  - a folder whose path is 1500 bytes long: it arrives whole (the hidden edit
    box holds all of it) and is listed;
  - an export while another process holds "目录生成.txt" open: the failure
    message, the old file whole, no stray file left; then a good export.
The program runs without root's right to read any folder (root's
CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH are dropped with setpriv), so that a
folder with mode 000 is as unreadable to it as to an ordinary user.
Usage: bad_inputs_e2e.py korvane.exe BUILD_DIR (under scripts/with-xvfb).
"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
from korvane_app import Checks, ExportFile, Korvane, describe_difference  # noqa: E402
from tree_render import Expected  # noqa: E402
from wine_session import E2EError, WineSession, dos_path, e2e_prefix, tools_dir  # noqa: E402

ODD_NAMES = ["& amp", "100%", "%PATH%", "^caret", "#hash", "----dashes", "  two spaces", " one space.txt",
             "a&b%c^d#e.txt", "----", "-- --x.txt"]

def make_file(path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    open(path, "w").close()


CAP_SETPCAP = 8  # needed to drop capabilities from the bounding set


def effective_capabilities():
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("CapEff:"):
                return int(line.split()[1], 16)
    return 0


def without_read_override():
    """The wrapper that starts a program without root's right to read every
    folder: () when not root. Returns (wrapper, None) or (None, reason): the
    reason is given only when the machine provably cannot drop the rights
    (root without CAP_SETPCAP, as in some containers); any other failure is
    the suite's fault and ends the run."""
    if os.geteuid() != 0:
        return (), None
    if not shutil.which("setpriv"):
        raise E2EError("running as root, and setpriv (util-linux) is missing: the unreadable folder cannot be tested")
    caps = "-dac_override,-dac_read_search"
    wrapper = ("setpriv", "--bounding-set", caps, "--inh-caps", caps, "--")
    probe = subprocess.run(list(wrapper) + ["true"], stderr=subprocess.PIPE, text=True)
    if probe.returncode == 0:
        return wrapper, None
    if not effective_capabilities() & (1 << CAP_SETPCAP):
        return None, "root without CAP_SETPCAP cannot drop capabilities (setpriv: %s)" % probe.stderr.strip()
    raise E2EError("setpriv cannot drop root's read override although CAP_SETPCAP is held: %s" %
                   probe.stderr.strip())


MAX_PATH = 260

def build_deep(base):
    """Nested folders, a file in each, until the paths are well past MAX_PATH."""
    folder = os.path.join(base, "deep")
    level = 0
    while len(dos_path(folder)) < MAX_PATH + 60:
        folder = os.path.join(folder, "level_%02d_%s" % (level, "x" * 20))
        make_file(os.path.join(folder, "f%02d.txt" % level))
        level += 1
    return os.path.join(base, "deep"), level

def main():
    exe, build_dir = sys.argv[1], sys.argv[2]
    checks = Checks()
    base = tempfile.mkdtemp(prefix="korvane-e2e-bad-")
    session = WineSession(tools_dir(build_dir), prefix=e2e_prefix())
    locked = os.path.join(base, "perm", "b_locked")
    holder = None
    try:
        make_file(os.path.join(base, "file.txt"))
        make_file(os.path.join(base, "vanishing", "gone.txt"))
        long_folder = base
        while len(dos_path(long_folder).encode("gbk")) < 1500:
            long_folder = os.path.join(long_folder, "长路径" * 20 + "_%d" % len(long_folder))
        make_file(os.path.join(long_folder, "end.txt"))
        for name in ODD_NAMES:
            if name.endswith(".txt"):
                make_file(os.path.join(base, "names", name))
            else:
                make_file(os.path.join(base, "names", name, "in " + name + ".txt"))
        for rel in ["perm/a_before/a.txt", "perm/b_locked/hidden_from_it.txt", "perm/c_after/c.txt", "perm/d.txt"]:
            make_file(os.path.join(base, rel))
        make_file(os.path.join(base, "cycle", "x", "y", "z.txt"))
        os.symlink("..", os.path.join(base, "cycle", "x", "l1"))
        os.symlink("../..", os.path.join(base, "cycle", "x", "y", "l2"))
        deep, levels = build_deep(base)
        make_file(os.path.join(base, "repeat", "r.txt"))
        make_file(os.path.join(base, "repeat", "子", "s.txt"))

        wrapper, cannot = without_read_override()
        unlistable = []
        if cannot:
            print("NOT TESTED on this machine: the unreadable folder (%s)" % cannot)
            wrapper = ()
        else:
            os.chmod(locked, 0)
            unlistable = [locked]
            # The program must really be unable to read it, or the case proves nothing.
            peek = subprocess.run(list(wrapper) + ["ls", locked], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
            checks.check("a folder with mode 000 is unreadable to the program", peek.returncode != 0)

        export = ExportFile(session)
        export.remove()
        app = Korvane(session, exe, wrapper=wrapper)
        app.start()
        expected = Expected(unlistable=unlistable)

        def compare(title):
            box = app.export()
            got, want = export.read(), expected.export()
            checks.check("%s: export reported as done" % title, box.text == "导出成功！文件在桌面", repr(box))
            checks.check("%s: 目录生成.txt byte for byte (%d bytes)" % (title, len(want)), got == want,
                         describe_difference(got, want))
            return got

        def drop(folder, before_drop=None, listed=True):
            app.drop([folder], before_drop=before_drop)
            if listed:
                expected.drop(folder)

        # A file instead of a folder, on a fresh start.
        drop(os.path.join(base, "file.txt"))
        got = compare("a dropped file")
        checks.check("a dropped file lists nothing", got == b"", repr(got[:80]))

        # The folder vanishes between the start of the drag and the drop.
        drop(os.path.join(base, "vanishing"), before_drop=lambda: shutil.rmtree(os.path.join(base, "vanishing")))
        compare("a folder that vanished before the drop")

        drop(os.path.join(base, "names"))
        got = compare("names with & % ^ # ---- and leading spaces")
        for name in ODD_NAMES:
            checks.check("the name %r is written verbatim" % name,
                         b"\r\n----" + name.encode("gbk") + b"\r\n" in b"\r\n" + got + b"\r\n")

        drop(os.path.join(base, "perm"))
        got = compare("an unreadable sub-folder")
        if unlistable:
            checks.check("the unreadable folder is listed with nothing beneath, its later siblings are listed",
                         b"----b_locked\r\n----c_after\r\n--------c.txt\r\n----d.txt" in got
                         and b"hidden_from_it" not in got)

        drop(os.path.join(base, "cycle"))
        got = compare("a link cycle with two links to an ancestor")
        checks.check("each link to the ancestor is listed once, not entered",
                     got.count(b"--------l1\r\n") == 1 and got.count(b"------------l2\r\n") == 1)

        drop(deep)
        got = compare("a tree deeper than 260 characters")
        listed = [i for i in range(levels) if ("f%02d.txt" % i).encode() in got]
        checks.check("every level of the deep tree is listed, its files too (%d of %d)" % (len(listed), levels),
                     listed == list(range(levels)))

        for _ in range(20):
            drop(os.path.join(base, "repeat"))
        got = compare("20 drops in a row of the same folder")
        checks.check("the folder's items are there 20 times", got.count(b"----r.txt") == 20)
        checks.check("Korvane still runs after 20 drops", app.alive())

        # Last of the listings checked: its entries lie deeper than every earlier
        # listing's first entry, so the tree goes on with them after those
        # (listed first, they would hide every later listing). Waiting for the
        # edit box to hold the whole path is the check that it arrived whole.
        drop(long_folder)
        checks.check("a %d-byte path arrives whole" % len(dos_path(long_folder).encode("gbk")),
                     app.edit_text() == dos_path(long_folder))
        got = compare("a folder path of 1500 bytes")
        checks.check("the folder of a 1500-byte path is listed", got.endswith(b"end.txt"), repr(got[-40:]))

        # Another process holds the export file open, shared with nobody.
        before = export.read()
        desktop_before = sorted(os.listdir(export.folder))
        holder = session.start(os.path.join(session.tools_dir, "e2e_peek.exe"), "hold", export.dos,
                               stdout=subprocess.PIPE, stdin=subprocess.PIPE)
        line = holder.stdout.readline().decode().strip()
        if line != "held":
            raise E2EError("could not hold the export file open: %r" % line)
        drop(os.path.join(base, "repeat"))
        box = app.export()
        checks.check("an export onto a held file says it failed and names the file: %r" % box.text,
                     box.text == "导出失败！无法写入文件：" + export.dos and box.caption == "信息："
                     and len(box.buttons) == 1)
        checks.check("the old file is whole after the failed export", export.read() == before)
        checks.check("the failed export leaves no other file on the desktop",
                     sorted(os.listdir(export.folder)) == desktop_before, repr(os.listdir(export.folder)))
        holder.stdin.close()
        holder.wait(timeout=30)
        compare("an export once the file is free again")

        code = app.close_with_escape()
        checks.check("Esc ends Korvane with exit code 0", code == 0, "exit code %s" % code)
    except (E2EError, OSError, subprocess.SubprocessError) as e:
        checks.check("the run went through", False, "%s: %s" % (type(e).__name__, e))
    finally:
        if holder is not None and holder.poll() is None:
            holder.kill()
        session.end_all()
        if os.path.isdir(locked):
            os.chmod(locked, 0o700)
        shutil.rmtree(base, ignore_errors=True)
    return checks.finish()

if __name__ == "__main__":
    sys.exit(main())
