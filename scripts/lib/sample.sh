# The ready-made sample that the demo and the end-to-end test run Zonvex on (sourced).

# make_sample_prefix PREFIX WRITE_PROFILE_TOOL
# A Wine prefix holding the client installation C:\游戏\穿越火线 (set to the live servers,
# version 1.0.320.500) whose user.reg records where it is. The launcher QQLogin.exe only
# says that it was started, and appends its working folder to launcher.log beside itself.
make_sample_prefix() {
  local prefix="$1" write_profile="$2"
  local install_dir="$prefix/drive_c/游戏/穿越火线"
  mkdir -p "$install_dir/RUDE/config" "$prefix/dosdevices"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  : > "$install_dir/crossfire.exe"
  WINEPREFIX="$prefix" "$write_profile" "$install_dir" live 1.0.320.500
  cat > "$install_dir/QQLogin.exe" <<'LAUNCHER'
#!/bin/sh
echo "QQLogin.exe: the client's launcher was started"
pwd >> "$(dirname "$0")/launcher.log"
LAUNCHER
  chmod +x "$install_dir/QQLogin.exe"
  # As Wine keeps it: "install" is C:\游戏\穿越火线\rude\Client.exe
  cat > "$prefix/user.reg" <<'REG'
WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win32

[Software\\Tencent\\CrossFire] 1700000000
#time=1da0000000000000
"install"="C:\\\x6e38\x620f\\\x7a7f\x8d8a\x706b\x7ebf\\rude\\Client.exe"
REG
}

# serve_sample_pages ROOT SITE PORT
# Fills SITE with the sample pages (their links pointing at the same server) and serves it
# on 127.0.0.1:PORT in the background; SAMPLE_SERVER holds the server's process id.
serve_sample_pages() {
  local root="$1" site="$2" port="$3"
  local base="http://127.0.0.1:$port"
  mkdir -p "$site/downloads"
  for page in versions bulletin; do
    sed "s|@BASE@|$base|g" "$root/samples/pages/$page.html" > "$site/$page.html"
  done
  for name in patch zone1-full zone1-qq zone2-full zone2-blue; do
    sed "s|@NAME@|$name|g" "$root/samples/pages/download.html" > "$site/downloads/$name.html"
  done
  python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port" >"$site.log" 2>&1 &
  SAMPLE_SERVER=$!
  for _ in $(seq 100); do
    if python3 -c "import urllib.request; urllib.request.urlopen('$base/versions.html', timeout=1)" 2>/dev/null; then
      return 0
    fi
    kill -0 "$SAMPLE_SERVER" 2>/dev/null || break
    sleep 0.1
  done
  echo "Could not serve the sample pages on 127.0.0.1:$port (is the port taken?)." >&2
  return 1
}

# make_windows_sample PREFIX WRITE_PROFILE_TOOL QQLOGIN_EXE
# The same installation in a real Wine prefix (made with wineboot through scripts/lib/wine-run),
# for the Windows program: its launcher is QQLOGIN_EXE (a Windows program that appends its
# working folder to launcher.log beside itself), and the registry value is written with
# Wine's own reg.
make_windows_sample() {
  local prefix="$1" write_profile="$2" qqlogin="$3"
  local here
  here="$(dirname "${BASH_SOURCE[0]}")"
  local install_dir="$prefix/drive_c/游戏/穿越火线"
  WINEPREFIX="$prefix" "$here/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true
  mkdir -p "$install_dir/RUDE/config"
  : > "$install_dir/crossfire.exe"
  "$write_profile" "$install_dir" live 1.0.320.500
  cp "$qqlogin" "$install_dir/QQLogin.exe"
  WINEPREFIX="$prefix" "$here/wine-run" reg add 'HKCU\Software\Tencent\CrossFire' /v install /t REG_SZ \
    /d 'C:\游戏\穿越火线\rude\Client.exe' /f >/dev/null 2>&1
}
