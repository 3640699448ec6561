#!/usr/bin/env bash
# Shows a question of the message box over the login window under Xvfb, takes a screenshot
# of the screen and checks the colours where the two windows must be: the box's title bar
# and panel in the centre of the screen, on top of the login window's frame and panel.
# Usage: message_over_login.sh <MessageOverLogin executable> [<screenshot.png>]
set -euo pipefail
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
shot=${2:-$home/screen.png}
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run SHOT=$shot
mkdir -m 700 "$XDG_RUNTIME_DIR"

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  coproc client { exec "$0"; }
  trap "kill $client_PID 2>/dev/null; wait $client_PID 2>/dev/null" EXIT
  read -r -t 20 line <&"${client[0]}"
  [ "$line" = shown ] || { echo "the box did not come up"; exit 1; }
  import -window root "$SHOT"
' "$program"

pixel() { convert "$shot" -format "%[hex:p{$1,$2}]" info:; }
failed=0
check() {  # <what> <x> <y> <expected RRGGBB>
  local seen
  seen=$(pixel "$2" "$3")
  if [ "${seen:0:6}" = "$4" ]; then echo "ok   $1 at $2,$3: #$4"
  else echo "FAIL $1 at $2,$3: #${seen:0:6}, expected #$4"; failed=1; fi
}
# The login window: 290 x 428 at 495,186. The box: 289 x 149 at 495,325, on top of it.
check "login title bar" 700 200 E35210
check "login left border" 498 250 E3521F
check "login client panel, lower left" 505 560 97A38D
check "box title bar" 700 330 E35210
check "box panel over the login panel" 510 460 D5DBCD
check "box bottom border" 600 471 E3521F
check "login panel below the box" 600 500 97A38D
exit $failed
