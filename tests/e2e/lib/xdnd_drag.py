#!/usr/bin/env python3
"""An X11 drag source: drags local paths onto a window with the XDND protocol.

A file manager's drag, made by hand: the source owns the XdndSelection, sends
XdndEnter (offering text/uri-list), XdndPosition at root coordinates over the
target, waits for XdndStatus, sends XdndDrop, serves the target's
SelectionRequest with the file:// URIs (UTF-8, percent-encoded, CRLF after
each) and waits for XdndFinished. Requests for the data are served whenever
they come: some targets (Wine among them) fetch the data already on XdndEnter.

Wine's X11 driver turns such a drop onto a window that accepts files into a
WM_DROPFILES for that window, so the whole road from the desktop to the
program's drop handling is exercised.

Command line:
    xdnd_drag.py [--window XID] [--innermost] [--timeout S] [--verbose] X Y PATH...
prints one line "finished accepted=1 success=1 action=..." and exits 0 when the
target finished the drop with success, 1 when it refused or reported failure,
2 on a timeout or when no XDND-aware window lies at X, Y.
"""

import os
import select
import sys
import time
import urllib.parse

try:
    from Xlib import X, Xatom, display as xdisplay
    from Xlib.protocol import event as xevent
except ImportError:  # a python3 outside Debian's (pyenv and the like) lacks python3-xlib
    sys.path.append("/usr/lib/python3/dist-packages")
    from Xlib import X, Xatom, display as xdisplay
    from Xlib.protocol import event as xevent

XDND_VERSION = 5
URI_LIST = "text/uri-list"


class DragError(Exception):
    """The drag could not be carried out (no target, no answer in time)."""


def path_to_uri(path):
    """file:// URI of an absolute local path: UTF-8, percent-encoded."""
    absolute = os.path.abspath(path)
    return "file://" + urllib.parse.quote(absolute.encode("utf-8"), safe="/")


def uri_list(paths):
    """The text/uri-list body: every URI followed by CR LF."""
    return "".join(path_to_uri(p) + "\r\n" for p in paths).encode("ascii")


class DragResult:
    def __init__(self, target, accepted, finished, success, action, served):
        self.target = target
        self.accepted = accepted
        self.finished = finished
        self.success = success
        self.action = action
        self.served = served  # how many requests for the data were answered

    def __str__(self):
        return "%s target=0x%x accepted=%d success=%d action=%s served=%d" % (
            "finished" if self.finished else "unfinished", self.target, self.accepted, self.success,
            self.action, self.served)


class XdndDrag:
    """One drag of a list of paths. Use drag() once, then close()."""

    def __init__(self, display_name=None, verbose=False):
        self.d = xdisplay.Display(display_name)
        self.root = self.d.screen().root
        self.verbose = verbose
        a = self.d.intern_atom
        self.atoms = {name: a(name) for name in (
            "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished",
            "XdndLeave", "XdndSelection", "XdndTypeList", "XdndActionCopy", "TARGETS", URI_LIST,
            "KORVANE_XDND_TIME")}
        self.source = self.root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent,
                                              override_redirect=True, event_mask=X.PropertyChangeMask)
        self.data = b""
        self.served_count = 0

    def log(self, *args):
        if self.verbose:
            print("xdnd:", *args, file=sys.stderr)

    def close(self):
        try:
            self.source.destroy()
            self.d.sync()
        finally:
            self.d.close()

    # -- X plumbing ---------------------------------------------------------

    def server_time(self):
        """A real server timestamp, taken from a PropertyNotify on our own window."""
        self.source.change_property(self.atoms["KORVANE_XDND_TIME"], Xatom.STRING, 8, b"t")
        self.d.flush()
        deadline = time.monotonic() + 5
        while True:
            ev = self.next_event(deadline)
            if ev is None:
                raise DragError("no PropertyNotify from the X server")
            if ev.type == X.PropertyNotify and ev.window.id == self.source.id:
                return ev.time
            self.handle_other(ev)

    def next_event(self, deadline):
        while True:
            if self.d.pending_events():
                return self.d.next_event()
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                return None
            select.select([self.d], [], [], remaining)

    def send_client_message(self, window, kind, data):
        longs = list(data) + [0] * (5 - len(data))
        ev = xevent.ClientMessage(window=window, client_type=self.atoms[kind], data=(32, longs))
        window.send_event(ev, event_mask=0)
        self.d.flush()
        self.log("sent", kind, [hex(v) for v in longs])

    def xdnd_aware_version(self, window):
        try:
            prop = window.get_full_property(self.atoms["XdndAware"], X.AnyPropertyType)
        except Exception:  # the window went away meanwhile
            return None
        if prop is None or not len(prop.value):
            return None
        return int(prop.value[0])

    def find_target(self, x, y, innermost=False):
        """The outermost XDND-aware window at root position (x, y), as a file
        manager finds it; with innermost, the deepest one instead."""
        window, found = self.root, (None, None)
        while True:
            reply = window.translate_coords(self.root, x, y)
            child = reply.child
            if not child or child.id == 0:
                return found
            version = self.xdnd_aware_version(child)
            if version is not None:
                found = (child, version)
                if not innermost:
                    return found
            window = child

    def handle_other(self, ev):
        """Serves requests for the drag data, whenever they come."""
        if ev.type != X.SelectionRequest:
            return False
        requestor = ev.requestor
        prop = ev.property if ev.property != X.NONE else ev.target
        ok = False
        if ev.selection == self.atoms["XdndSelection"]:
            if ev.target == self.atoms[URI_LIST]:
                requestor.change_property(prop, ev.target, 8, self.data)
                ok = True
                self.served_count += 1
            elif ev.target == self.atoms["TARGETS"]:
                requestor.change_property(prop, Xatom.ATOM, 32, [self.atoms["TARGETS"], self.atoms[URI_LIST]])
                ok = True
        self.log("SelectionRequest target", self.d.get_atom_name(ev.target), "served" if ok else "refused")
        notify = xevent.SelectionNotify(time=ev.time, requestor=requestor, selection=ev.selection,
                                        target=ev.target, property=prop if ok else X.NONE)
        requestor.send_event(notify, event_mask=0)
        self.d.flush()
        return True

    def wait_client_message(self, kind, deadline):
        while True:
            ev = self.next_event(deadline)
            if ev is None:
                return None
            if ev.type == X.ClientMessage and ev.client_type == self.atoms[kind]:
                return ev
            if not self.handle_other(ev) and ev.type == X.ClientMessage:
                self.log("ignored client message", self.d.get_atom_name(ev.client_type))

    # -- the drag -----------------------------------------------------------

    def drag(self, paths, x, y, window=None, timeout=15.0, before_drop=None, innermost=False):
        """Drags paths onto the XDND-aware window at root position (x, y), or onto
        window (an X window id) if given. before_drop() runs after the target has
        accepted and before XdndDrop is sent. Returns a DragResult.

        innermost picks the deepest XDND-aware window at (x, y) rather than the
        top-level one. Wine's virtual desktop needs it: its desktop window is
        XDND-aware itself and belongs to explorer.exe, which would post the
        program a WM_DROPFILES whose HDROP lives in explorer's memory."""
        self.data = uri_list(paths)
        self.served_count = 0
        if window is not None:
            target = self.d.create_resource_object("window", window)
            version = self.xdnd_aware_version(target)
            if version is None:
                raise DragError("window 0x%x is not XDND-aware" % window)
        else:
            target, version = self.find_target(x, y, innermost)
            if target is None:
                raise DragError("no XDND-aware window at %d,%d" % (x, y))
        version = min(version, XDND_VERSION)
        self.log("target 0x%x, XDND version %d, data %r" % (target.id, version, self.data))

        stamp = self.server_time()
        self.source.change_property(self.atoms["XdndTypeList"], Xatom.ATOM, 32, [self.atoms[URI_LIST]])
        self.source.set_selection_owner(self.atoms["XdndSelection"], stamp)
        self.d.flush()
        if self.d.get_selection_owner(self.atoms["XdndSelection"]).id != self.source.id:
            raise DragError("could not own XdndSelection")
        # The pointer goes where a user's hand would be.
        self.root.warp_pointer(x, y)
        self.d.sync()

        deadline = time.monotonic() + timeout
        src = self.source.id
        self.send_client_message(target, "XdndEnter", [src, version << 24, self.atoms[URI_LIST], 0, 0])
        self.send_client_message(target, "XdndPosition",
                                 [src, 0, (x << 16) | (y & 0xFFFF), stamp, self.atoms["XdndActionCopy"]])
        status = self.wait_client_message("XdndStatus", deadline)
        if status is None:
            self.send_client_message(target, "XdndLeave", [src])
            raise DragError("no XdndStatus from window 0x%x" % target.id)
        accepted = bool(status.data[1][1] & 1)
        action = status.data[1][4]
        self.log("status accepted=%d action=%s" % (accepted, action and self.d.get_atom_name(action)))
        if not accepted:
            self.send_client_message(target, "XdndLeave", [src])
            return DragResult(target.id, False, False, False, None, self.served_count)

        if before_drop is not None:
            before_drop()
        self.send_client_message(target, "XdndDrop", [src, 0, stamp])
        finished = self.wait_client_message("XdndFinished", deadline)
        if finished is None:
            raise DragError("no XdndFinished from window 0x%x" % target.id)
        longs = finished.data[1]
        success = bool(longs[1] & 1) if version >= 5 else True
        action = self.d.get_atom_name(longs[2]) if longs[2] else None
        return DragResult(target.id, True, True, success, action, self.served_count)


def drag(paths, x, y, window=None, timeout=15.0, before_drop=None, display_name=None, verbose=False,
         innermost=False):
    """Drags paths onto the window at root position (x, y); see XdndDrag.drag."""
    source = XdndDrag(display_name, verbose)
    try:
        return source.drag(paths, x, y, window, timeout, before_drop, innermost)
    finally:
        source.close()


def main(argv):
    import argparse
    parser = argparse.ArgumentParser(description="Drag local paths onto an X window with XDND.")
    parser.add_argument("--window", type=lambda s: int(s, 0), help="target X window id (default: the window at X,Y)")
    parser.add_argument("--timeout", type=float, default=15.0)
    parser.add_argument("--innermost", action="store_true",
                        help="target the deepest XDND-aware window at X,Y (for Wine's virtual desktop)")
    parser.add_argument("--verbose", action="store_true")
    parser.add_argument("x", type=int)
    parser.add_argument("y", type=int)
    parser.add_argument("paths", nargs="+")
    args = parser.parse_args(argv)
    try:
        result = drag(args.paths, args.x, args.y, args.window, args.timeout, verbose=args.verbose,
                      innermost=args.innermost)
    except DragError as e:
        print("xdnd_drag: %s" % e, file=sys.stderr)
        return 2
    print(result)
    return 0 if result.finished and result.success else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
