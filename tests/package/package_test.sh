#!/usr/bin/env bash
# The Debian package, made with CPack from this build tree: lintian finds no error in it,
# its menu entry and AppStream file are valid, and unpacked into a temporary root it runs:
# zonvexctl tells its version and a sample installation's status, switches it as a game
# manager's pre-launch script would (no terminal, output thrown away) and logs the switch,
# and zonvex shows its first window on an X display (run under xvfb-run with -ac) for a
# user who cannot write to the programs' folder.
#   package_test.sh BUILD_DIR SOURCE_ROOT WRITE_PROFILE_TOOL
set -euo pipefail
build="$1"
root="$2"
write_profile="$3"
source "$root/scripts/lib/sample.sh"
source "$root/scripts/lib/x-driver.sh"

work="$(mktemp -d)"
chmod 755 "$work"
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
deb="$(echo "$work"/package/zonvex_*_amd64.deb)"
[ -f "$deb" ] || fail "no zonvex_<version>_amd64.deb"
version="$(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "the section is not games"

lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log" >&2; fail "lintian reports errors"; }

dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
desktop-file-validate "$usr/share/applications/io.github.zonvex.Zonvex.desktop" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.zonvex.Zonvex.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "the AppStream file is not valid"; }
for size in 16 24 32 48 64 128 256; do
  [ "$(identify -format %wx%h "$usr/share/icons/hicolor/${size}x$size/apps/io.github.zonvex.Zonvex.png")" = "${size}x$size" ] ||
    fail "no ${size}x$size icon"
done
for page in zonvex zonvexctl; do
  man --warnings -E UTF-8 -l "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null | grep . && fail "$page(1) has mistakes"
done
[ "$(ls "$usr/bin")" = "$(printf 'zonvex\nzonvexctl')" ] || fail "the package holds other programs: $(ls "$usr/bin")"

# zonvexctl, on a sample installation in a Wine prefix.
ctl="$usr/bin/zonvexctl"
[ "$("$ctl" --version)" = "zonvexctl $version" ] || fail "zonvexctl --version does not say $version"
export HOME="$work/home" WINEPREFIX="$work/prefix" XDG_STATE_HOME="$work/state"
mkdir -p "$HOME"
make_sample_prefix "$WINEPREFIX" "$write_profile"
expected='C:\游戏\穿越火线
【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端为正服
【Vorlan出品】经过来自Vorlan的检测，您本地的CF客户端版本号为：1.0.320.500'
[ "$("$ctl" status)" = "$expected" ] || fail "zonvexctl status says: $("$ctl" status)"

# As a pre-launch script: in a session of its own without a terminal, its output discarded.
setsid "$ctl" switch test1 --version 1.0.331.601 </dev/null >/dev/null 2>&1 || fail "the pre-launch switch failed"
[ "$("$ctl" --json status)" = '{"folder":"C:\\游戏\\穿越火线","zone":"test1","version":"1.0.331.601"}' ] ||
  fail "the pre-launch switch did not switch: $("$ctl" --json status)"
grep -qP '^\d{4}-\d\d-\d\dT[\d:]{8}[+-]\d{4}\tC:\\游戏\\穿越火线\tlive\ttest1\t1\.0\.331\.601\t0 switched$' \
  "$XDG_STATE_HOME/zonvex/zonvexctl.log" || fail "no log line for the switch"

# zonvex, as a user who cannot write beside the installed program: the skin library goes
# into that user's cache instead.
user="$work/user"
mkdir -p "$user"
chown nobody "$user"
setpriv --reuid=nobody --regid=nogroup --clear-groups \
  env HOME="$user" XDG_CACHE_HOME="$user/cache" XDG_RUNTIME_DIR="$user" "$usr/bin/zonvex" >"$work/zonvex.log" 2>&1 &
pid=$!
[ -n "$(window_named '【Vorlan】Zonvex - 请选择您的客户端地址')" ] ||
  { cat "$work/zonvex.log" >&2; fail "zonvex did not show StartWindow"; }
[ -f "$user/cache/zonvex/SkinH_EL.dll" ] || fail "no private copy of the skin library"
[ ! -e "$usr/bin/SkinH_EL.dll" ] || fail "the skin library was written beside the installed program"
kill -0 "$pid" 2>/dev/null || fail "zonvex ended"
echo "PASS: $(basename "$deb") is clean, installs and runs"
