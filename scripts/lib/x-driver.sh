# Driving Zonvex on an X display as a user would (sourced). Xvfb has no window manager, so
# every window's client area opens at (50, 50) and controls stand where the layouts put
# them: a control at (x, y) of MainWindow is at (50 + x, 50 + y) on the screen.

click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }

# type_into X Y TEXT: clicks into an edit box and types.
type_into() { click "$1" "$2"; xdotool type --delay 30 "$3"; sleep 0.3; }

# dismiss [PNG]: waits (at most 20 s) for the message box, saves it if asked, and closes it
# with its OK key. Fails when no box comes.
dismiss() {
  local box
  box="$(timeout 20 xdotool search --sync --onlyvisible --name '^信息：$' | head -1)"
  if [ -z "$box" ]; then
    echo "no message box appeared" >&2
    return 1
  fi
  sleep 0.3
  if [ -n "${1:-}" ]; then import -window "$box" "$1"; fi
  xdotool windowfocus --sync "$box" key Return
  sleep 0.7
}

# screen PNG: the whole screen.
screen() { sleep 0.5; import -window root "$1"; }

# The Windows program under Wine: Wine's X window of a top-level window is its client area,
# wherever it stands, so controls are found relative to the window with the given title.
# click_in TITLE X Y / type_in TITLE X Y TEXT, with X and Y as the layouts give them.
window_named() { timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
click_in() {
  local w
  w="$(window_named "$1")" || return 1
  xdotool mousemove --window "$w" "$2" "$3" click 1
  sleep 0.3
}
type_in() { click_in "$1" "$2" "$3" && xdotool type --delay 30 "$4" && sleep 0.3; }
