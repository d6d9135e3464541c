#!/usr/bin/env python3
"""The X11 drag source, checked against a plain Windows window under Wine.

drop_probe.exe accepts dropped files and prints what DragQueryFileA gives it.
A drag made by lib/xdnd_drag.py must arrive there as a genuine WM_DROPFILES,
every path whole and in the drag's order, as ANSI (code page 936) bytes.
Usage: drag_source_check.py drop_probe.exe BUILD_DIR (run under scripts/with-xvfb).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "lib"))
from wine_session import E2EError, WineSession, dos_path, e2e_prefix, wait_for  # noqa: E402


class ProbeOutput:
    """Collects the probe's stdout lines on a thread of their own."""

    def __init__(self, stream):
        self.lines = []
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self._read, args=(stream,), daemon=True)
        self.thread.start()

    def _read(self, stream):
        for raw in stream:
            with self.lock:
                self.lines.append(raw.rstrip(b"\r\n"))

    def snapshot(self):
        with self.lock:
            return list(self.lines)


def drops_after(output, start):
    """The drops printed after line index start: a list of lists of path bytes."""
    drops = []
    for line in output.snapshot()[start:]:
        if line.startswith(b"drop "):
            drops.append((int(line.split()[1]), []))
        elif line.startswith(b"path ") and drops:
            hex_bytes = line.split(b" ", 2)[1].decode()
            drops[-1][1].append(b"" if hex_bytes == "-" else bytes.fromhex(hex_bytes))
    return drops


def main():
    probe_exe, build_dir = sys.argv[1], sys.argv[2]
    del build_dir
    tree = tempfile.mkdtemp(prefix="korvane-xdnd-")
    session = WineSession(os.path.dirname(os.path.abspath(probe_exe)), prefix=e2e_prefix())
    failures = []
    try:
        names = ["a b 中文 folder", "100% & #hash ^caret", "表乗", "plain.txt"]
        for name in names[:3]:
            os.makedirs(os.path.join(tree, name))
        open(os.path.join(tree, names[3]), "w").close()
        paths = [os.path.join(tree, n) for n in names]

        probe = session.start(probe_exe, "200", "150", stdout=subprocess.PIPE)
        output = ProbeOutput(probe.stdout)
        ready = wait_for("the probe window", lambda: [l for l in output.snapshot() if l.startswith(b"ready")], 60)
        _, _, left, top = ready[0].split()
        x, y = int(left) + 200, int(top) + 120

        cases = [
            ("one folder with Chinese and spaces", [paths[0]]),
            ("three paths in one drag, in order", [paths[1], paths[2], paths[3]]),
            ("the same folder again", [paths[0]]),
        ]
        for title, dragged in cases:
            start = len(output.snapshot())
            result = session.drag(dragged, x, y)
            expected = [dos_path(p).encode("gbk") for p in dragged]
            try:
                if not (result.accepted and result.finished and result.success):
                    raise E2EError("drag not finished with success: %s" % result)
                drops = wait_for("the drop to arrive", lambda: [d for d in drops_after(output, start)
                                                                 if len(d[1]) == d[0]], 20)
                if len(drops) != 1 or drops[0][1] != expected:
                    raise E2EError("probe saw %r, expected one drop of %r" % (drops, expected))
                print("ok: %s: %s" % (title, result))
            except E2EError as e:
                failures.append("%s: %s" % (title, e))
                print("FAILED: %s: %s" % (title, e))

        # A refused drag: nothing accepts drops at the screen's far corner.
        try:
            import xdnd_drag
            xdnd_drag.drag([paths[0]], 1279, 1023, timeout=5)
            failures.append("a drag onto the bare root window did not fail")
        except xdnd_drag.DragError as e:
            print("ok: drag onto no target fails: %s" % e)

        # The probe ends on Esc like any window that has the keyboard focus.
        session.key("Escape")
        try:
            code = probe.wait(timeout=20)
            if code != 0:
                failures.append("probe exit code %d" % code)
        except subprocess.TimeoutExpired:
            failures.append("the probe did not close on Esc")
    finally:
        session.end_all()
        shutil.rmtree(tree, ignore_errors=True)
    if failures:
        print("drag source check FAILED:\n  " + "\n  ".join(failures))
        return 1
    print("drag source check passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
