#!/usr/bin/env bash
# with_fixture.sh PROGRAM [ARGS...]: runs a listing test program under Wine
# with what a Windows program cannot make under Wine itself:
#   - a folder under /tmp (reached as Z:\tmp\...) for the program's own trees,
#     holding links/ (symbolic links that loop back to their ancestors),
#     twice/ (links that lead twice to the same folder, level after level),
#     deep/ (a chain of folders longer than MAX_PATH) and long/ (a chain
#     whose paths pass 1,000 characters);
#   - a spare drive letter mapped to a small tree, through the prefix's
#     dosdevices folder (DefineDosDevice does not reach Wine's file system).
# The program learns both from KORVANE_LISTING_FIXTURE and
# KORVANE_LISTING_DRIVE. Everything is removed again at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/lib/wine-env"

fixture=$(mktemp -d /tmp/korvane-listing-XXXXXX)
drive_link=
cleanup() {
  [ -n "$drive_link" ] && rm -f "$drive_link"
  rm -rf "$fixture"
}
trap cleanup EXIT

# links/: a/up -> the links folder, a/b/back -> a, d/self -> d, a/side -> d
# (not an ancestor), a link to a file and a link to nothing.
l=$fixture/links
mkdir -p "$l/a/b" "$l/d"
echo x >"$l/a/b/deep.txt"; echo x >"$l/d/d.txt"; echo x >"$l/plain.txt"
ln -s .. "$l/a/up"
ln -s .. "$l/a/b/back"
ln -s . "$l/d/self"
ln -s ../d "$l/a/side"
ln -s plain.txt "$l/file-link"
ln -s nowhere "$l/dangling"

# twice/: t0 ... t6; each t<i> below t6 holds two links, x and y, to t<i+1>;
# t6 holds end.txt.
for i in 0 1 2 3 4 5; do
  mkdir -p "$fixture/twice/t$i"
  ln -s "../t$((i + 1))" "$fixture/twice/t$i/x"
  ln -s "../t$((i + 1))" "$fixture/twice/t$i/y"
done
mkdir -p "$fixture/twice/t6"; echo x >"$fixture/twice/t6/end.txt"

# deep/: d\d\d... well past 260 bytes as a Windows path, a file at the bottom.
chain=$fixture/deep
for _ in $(seq 150); do chain=$chain/d; done
mkdir -p "$chain"; echo x >"$chain/bottom.txt"

# long/: level-000-xxxxxxxxxxxxxxxx\level-001-... 45 levels (27 characters
# each with its separator, past 1,200 in all), each level holding f.txt
# beside the next; the last holds sub\inner.txt and bottom.txt.
chain=$fixture/long
for i in $(seq 0 44); do
  chain=$chain/$(printf 'level-%03d-xxxxxxxxxxxxxxxx' "$i")
  mkdir -p "$chain"; echo x >"$chain/f.txt"
done
rm "$chain/f.txt"
mkdir -p "$chain/sub"; echo x >"$chain/sub/inner.txt"; echo x >"$chain/bottom.txt"

# drive/: the root of the spare drive.
mkdir -p "$fixture/drive/sub"
echo x >"$fixture/drive/sub/inner.txt"; echo x >"$fixture/drive/top.txt"

# The first free letter from k: on. ln -sT fails if another run took it
# first (plain ln -s would put the link inside the folder that letter maps).
# Letters left behind by a killed run point into a folder that is gone.
for link in "$WINEPREFIX"/dosdevices/[k-y]:; do
  if [ -L "$link" ] && [ ! -e "$link" ] && [[ $(readlink "$link") == /tmp/korvane-listing-* ]]; then rm -f "$link"; fi
done
letter=
for l in k l m n o p q r s t u v w x y; do
  if ln -sT "$fixture/drive" "$WINEPREFIX/dosdevices/$l:" 2>/dev/null; then
    letter=$l; drive_link=$WINEPREFIX/dosdevices/$l:; break
  fi
done
[ -n "$letter" ] || { echo "with_fixture: no free drive letter in $WINEPREFIX/dosdevices" >&2; exit 2; }

export KORVANE_LISTING_FIXTURE="Z:${fixture//\//\\}"
export KORVANE_LISTING_DRIVE="${letter^^}:"
wine "$@"
