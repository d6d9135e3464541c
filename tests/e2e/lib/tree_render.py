"""What "目录生成.txt" must hold after a series of drops, worked out from the
folder tree on disk alone, written without any of the program's code.

The chain a user's drops go through, each link as the tool's behaviour
describes it:
  1. Wine hands the program a dropped folder as a DOS path (Z: is /), in code
     page 936 bytes; a character that code page cannot hold arrives as "?"
     (see ansi_bytes). The folder itself is reached whatever its name.
  2. The scan appends every sub-folder and file beneath it, depth first:
     sub-folders first (each followed at once by everything beneath it), then
     files, in the order in which the system lists the folder. Each name is
     written in code page 936 as the system converts it (ansi_bytes), and
     every folder is reached by its real name, however deep. A path that
     already ends in a 0x5C byte (a double-byte character's trail byte too)
     gets no separator, and the paths beneath it run on from that byte: the
     folders so named are looked for under those names. A link is listed; it
     is entered only if its target is none of the folders being walked (the
     start folder and the folders the walk is inside of) and no earlier link
     of the same listing led into that target.
  3. Every listing shows all paths found since start-up, loaded into the tree
     by the load rule from (last segment, number of segments) of each path.
  4. The export writes one line per item in pre-order: "----" times the
     item's depth, then its text; CR LF between lines, none at the end.

Wine lists a folder sorted by name, case-insensitively (names folded to
upper case, compared by UTF-16 unit), "." and ".." first; this is checked
against FindFirstFileA itself by the drag-listing tests, not assumed, and
so are the names' code page 936 forms.
"""

import os

from wine_session import dos_path

CODEPAGE = "gbk"


def ansi_bytes(text):
    """text in code page 936 as Windows converts it for its ANSI functions:
    each UTF-16 unit of a character the code page cannot hold becomes "?" (a
    character beyond the Basic Multilingual Plane gives two). Windows puts a
    near letter instead for a few (Ü becomes ü, É é), which this does not
    know: tests keep such letters out of their names and check their names
    against Wine's FindFirstFileA."""
    out = bytearray()
    for c in text:
        try:
            out += c.encode(CODEPAGE)
        except UnicodeEncodeError:
            out += b"?" * (2 if ord(c) > 0xFFFF else 1)
    return bytes(out)


def ansi_text(text):
    """The same as a str: what a window shows of text that went through code page 936."""
    return ansi_bytes(text).decode(CODEPAGE)


def wine_order_key(name):
    folded = "".join(c.upper() if len(c.upper()) == 1 else c for c in name)
    return folded.encode("utf-16-be")


def identity(unix_path):
    st = os.stat(unix_path)
    return (st.st_dev, st.st_ino)


def maybe_identity(unix_path):
    """The identity of the folder unix_path leads to, or None when there is none."""
    try:
        return identity(unix_path)
    except OSError:
        return None


def list_folder(unix, unlistable=frozenset()):
    """(name bytes, is folder, is link, real name) of each entry of the Linux
    folder unix, in Wine's order; None when the search cannot start.
    unlistable names folders (Linux paths) that the program may not list
    although this process may (it runs without root's right to read every
    folder)."""
    if not os.path.isdir(unix) or os.path.realpath(unix) in unlistable:
        return None
    try:
        entries = list(os.scandir(unix))
    except OSError:
        return None
    entries.sort(key=lambda e: wine_order_key(e.name))
    result = []
    for e in entries:
        try:
            is_dir = e.is_dir()  # follows links, as Wine's directory attribute does
        except OSError:
            is_dir = False
        result.append((ansi_bytes(e.name), is_dir, e.is_symlink(), e.name))
    return result


class Scan:
    """One listing: the scan of one dropped folder."""

    def __init__(self, found, unlistable):
        self.found = found
        self.unlistable = unlistable
        self.link_targets = set()  # folders entered through a link in this listing

    def folder(self, path, unix_prefix, walking):
        """path: the folder's bytes, ending in a 0x5C byte; unix_prefix: where
        its entries' Linux paths begin (its path and "/", or no "/" where path
        has no separator of its own)."""
        entries = list_folder(unix_prefix if unix_prefix.endswith("/") else unix_prefix + "/", self.unlistable)
        if entries is None:
            return
        for name, is_dir, is_link, real_name in entries:
            if not is_dir:
                continue
            self.found.append(path + name)
            unix = unix_prefix + real_name
            target = maybe_identity(unix)
            if is_link and target is not None:
                if target in walking or target in self.link_targets:
                    continue
                self.link_targets.add(target)
            child = path + name
            separated = not child.endswith(b"\\")
            self.folder(child + b"\\" if separated else child, unix + "/" if separated else unix, walking + [target])
        for name, is_dir, _, _ in entries:
            if not is_dir:
                self.found.append(path + name)


def scan(dos_text, unix, found, unlistable=frozenset()):
    """Appends to found every path beneath the dropped folder whose DOS path
    is dos_text (str) and Linux path unix."""
    path = ansi_bytes(dos_text)
    separated = dos_text.endswith("\\") or not path.endswith(b"\\")
    if not path.endswith(b"\\"):
        path += b"\\"
    unix = os.path.abspath(unix)
    walking = [identity(unix)] if os.path.isdir(unix) else []
    Scan(found, unlistable).folder(path, unix + "/" if separated else unix, walking)


def split_segments(text):
    """The split rule: backslash delimiter, double-byte characters kept whole,
    no empty last segment."""
    segments, start, i, n = [], 0, 0, len(text)
    while i < n:
        byte = text[i]
        if byte == 0x5C:
            segments.append(text[start:i])
            start = i + 1
            i += 1
        elif byte >= 0x80:
            if i + 1 >= n:
                break
            i += 2
        else:
            i += 1
    if i > start and start < n:
        segments.append(text[start:min(i, n)])
    return segments


def load(records):
    """The load rule over (text, level) records: (depth, text) in pre-order."""
    shown, position = [], [0]

    def run(depth):
        level = None
        while position[0] < len(records):
            text, wanted = records[position[0]]
            if level is None or wanted == level:
                shown.append((depth, text))
                level = wanted
                position[0] += 1
            elif wanted > level:
                run(depth + 1)
            else:
                return

    run(1)
    return shown


def export_bytes(path_list):
    records = []
    for p in path_list:
        segments = split_segments(p)
        records.append((segments[-1] if segments else b"", len(segments)))
    return b"\r\n".join(b"----" * depth + text for depth, text in load(records))


class Expected:
    """The program's state as a series of drops builds it."""

    def __init__(self, unlistable=()):
        self.path_list = []
        self.unlistable = frozenset(os.path.realpath(p) for p in unlistable)

    def drop(self, unix):
        """A drop of the folder at the Linux path unix."""
        scan(dos_path(unix), unix, self.path_list, unlistable=self.unlistable)

    def export(self):
        return export_bytes(self.path_list)
