#!/usr/bin/env bash
# End to end: the real program on an X display (run under xvfb-run), a sample installation in
# a temporary Wine prefix, the sample pages served on 127.0.0.1. Drives it as a user would,
# then checks the installation's files byte for byte and that the launcher was started.
#   switch_test.sh ZONVEX_LOCAL WRITE_PROFILE_TOOL SOURCE_ROOT PORT
set -euo pipefail
zonvex="$1"
write_profile="$2"
root="$3"
port="$4"
source "$root/scripts/lib/sample.sh"
source "$root/scripts/lib/x-driver.sh"
source "$root/tests/e2e/checks.sh"

work="$(mktemp -d)"
pid=
trap end_to_end_cleanup EXIT

export HOME="$work/home" WINEPREFIX="$work/prefix"
mkdir -p "$HOME" "$work/bin"
make_sample_prefix "$WINEPREFIX" "$write_profile"
serve_sample_pages "$root" "$work/site" "$port"
install="$WINEPREFIX/drive_c/游戏/穿越火线"
printf '#!/bin/sh\necho "$1" >> "%s/opened.txt"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

PATH="$work/bin:$PATH" "$zonvex" >"$work/zonvex.log" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || fail "the program did not start"

click 110 180                 # StartWindow: registry lookup finds the installation
dismiss || fail "no announcement when MainWindow opened"
sleep 5                       # the first tick brings the recommendations
click 110 182                 # 转换到体验服一区 with the field empty
dismiss || fail "no auto-fill message"
dismiss || fail "no success message for zone 1"
expect_profile 1 1.0.331.601

type_into 238 130 1.0.320.777
click 262 238                 # 还原到正式服 with a typed version
dismiss || fail "no success message for the live servers"
expect_profile live 1.0.320.777

for _ in $(seq 20); do [ "$(wc -l < "$install/launcher.log" 2>/dev/null || echo 0)" -ge 2 ] && break; sleep 0.2; done
[ "$(wc -l < "$install/launcher.log")" -eq 2 ] || fail "the launcher was not started once per switch"
[ "$(sort -u "$install/launcher.log")" = "$(dirname "$zonvex")" ] || fail "the launcher did not start in the program's folder"
kill -0 "$pid" 2>/dev/null || fail "the program ended"
echo "PASS: switched to 体验服一区 (recommended version) and back to 正服 (typed version)"
