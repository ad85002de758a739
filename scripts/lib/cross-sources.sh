#!/usr/bin/env bash
# What the Windows build takes from Debian as source rather than as a Windows library:
#   .cache/cross/pugixml/   pugixml's sources (apt-get source), compiled by the cross build;
#   .cache/cross/include/   the boost/ headers alone, linked, so the cross compiler never
#                           sees the host's whole include folder.
# Source packages need a deb-src entry: one is derived from the machine's own apt sources
# (the same archives, as source), never written from an address of our own.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cross="$root/.cache/cross"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

mkdir -p "$cross/include"
[ -e "$cross/include/boost" ] || ln -s /usr/include/boost "$cross/include/boost"

[ -f "$cross/pugixml/src/pugixml.cpp" ] && exit 0

has_deb_src() {
  grep -rqsE '^\s*(deb-src\s|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
if ! has_deb_src; then
  out=/etc/apt/sources.list.d/zonvex-deb-src
  # deb822 files: each stanza again, as deb-src; one-line files: each deb line again.
  for f in /etc/apt/sources.list.d/*.sources; do
    if [ -f "$f" ]; then sed -E 's/^Types:\s*deb\s*$/Types: deb-src/' "$f"; fi
  done | $sudo tee "$out.sources" >/dev/null
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    if [ -f "$f" ]; then sed -nE 's/^\s*deb\s/deb-src /p' "$f"; fi
  done | $sudo tee "$out.list" >/dev/null
  [ -s "$out.sources" ] || $sudo rm -f "$out.sources"
  [ -s "$out.list" ] || $sudo rm -f "$out.list"
  $sudo apt-get update -q >/dev/null
fi

work="$(mktemp -d)"
chmod 755 "$work"  # apt fetches sources as its own user
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -q pugixml >/dev/null)
src="$(find "$work" -maxdepth 1 -type d -name 'pugixml-*' | head -1)"
rm -rf "$cross/pugixml"
mkdir -p "$cross/pugixml"
cp -r "$src/src" "$src/readme.txt" "$cross/pugixml/" 2>/dev/null || cp -r "$src/src" "$cross/pugixml/"
