"""What "目录生成.txt" must hold after a series of drops, worked out from the
folder tree on disk alone, written without any of the program's code.

The chain a user's drops go through, each link as the tool's behaviour
describes it:
  1. Wine hands the program a dropped folder as a DOS path (Z: is /), in code
     page 936 bytes.
  2. The scan appends every sub-folder and file beneath it, depth first:
     sub-folders first (each followed at once by everything beneath it), then
     files, in the order in which the system lists the folder. A path that
     already ends in a 0x5C byte (a double-byte character's trail byte too)
     gets no separator. A search whose pattern (path, "\\", "*") is longer than
     MAX_PATH (260 UTF-16 units) lists nothing. A link whose target is one of
     the folders being walked (the start folder and the folders the walk is
     inside of) is listed but not entered.
  3. Every listing shows all paths found since start-up, loaded into the tree
     by the load rule from (last segment, number of segments) of each path.
  4. The export writes one line per item in pre-order: "----" times the
     item's depth, then its text; CR LF between lines, none at the end.

Wine lists a folder sorted by name, case-insensitively (names folded to
upper case, compared by UTF-16 unit), "." and ".." first; this is checked
against FindFirstFileA itself by the drag-listing test, not assumed.
"""

import os

MAX_PATH = 260
CODEPAGE = "gbk"


def to_unix(dos_bytes):
    """The Linux path of a Z: path given as code page 936 bytes, or None."""
    text = dos_bytes.decode(CODEPAGE, "replace")
    if text[:2].upper() != "Z:":
        return None
    parts = [p for p in text[2:].split("\\") if p]
    return "/" + "/".join(parts)


def wine_order_key(name):
    folded = "".join(c.upper() if len(c.upper()) == 1 else c for c in name)
    return folded.encode("utf-16-be")


def identity(unix_path):
    st = os.stat(unix_path)
    return (st.st_dev, st.st_ino)


def list_folder(path, unlistable=frozenset()):
    """(name bytes, is folder, is link, Linux path) of each entry of the folder
    named by path (bytes ending in 0x5C), in Wine's order; None when the
    search cannot start. unlistable names folders (Linux paths) that the
    program may not list although this process may (it runs without root's
    right to read every folder)."""
    pattern = path + b"\\*"
    if len(pattern.decode(CODEPAGE, "replace").encode("utf-16-le")) // 2 > MAX_PATH:
        return None
    unix = to_unix(path)
    if unix is None or not os.path.isdir(unix) or os.path.realpath(unix) in unlistable:
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
        result.append((e.name.encode(CODEPAGE), is_dir, e.is_symlink(), e.path))
    return result


def scan(path, found, walking=None, unlistable=frozenset()):
    """Appends to found every path beneath the folder path (bytes)."""
    if not path.endswith(b"\\"):
        path = path + b"\\"
    if walking is None:
        start = to_unix(path)
        walking = [identity(start)] if start and os.path.isdir(start) else []
    entries = list_folder(path, unlistable)
    if entries is None:
        return
    for name, is_dir, is_link, unix in entries:
        if is_dir:
            found.append(path + name)
            ident = identity(unix)
            if is_link and ident in walking:
                continue
            scan(path + name, found, walking + [ident], unlistable)
    for name, is_dir, _, _ in entries:
        if not is_dir:
            found.append(path + name)


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

    def drop(self, dos_bytes):
        scan(dos_bytes, self.path_list, unlistable=self.unlistable)

    def export(self):
        return export_bytes(self.path_list)
