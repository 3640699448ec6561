#!/usr/bin/env bash
# Starts the client under Xvfb in a fresh HOME and checks that exactly one window is on
# screen: the 290 x 428 login window in the centre of the 1280 x 800 screen.
# Usage: client_under_xvfb.sh <vandrel executable>
set -euo pipefail
client=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/run
mkdir -m 700 "$XDG_RUNTIME_DIR"

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$0" & pid=$!
  trap "kill $pid 2>/dev/null" EXIT
  viewable() {
    for id in $(xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) .*/\1/p"); do
      info=$(xwininfo -id "$id")
      if grep -q "Map State: IsViewable" <<<"$info"; then
        sed -n "s/^ *-geometry \(.*\)/\1/p" <<<"$info"
      fi
    done
  }
  for _ in $(seq 100); do
    shown=$(viewable)
    [ -n "$shown" ] && break
    sleep 0.1
  done
  sleep 0.5
  shown=$(viewable)
  echo "windows on screen: ${shown:-none}"
  [ "$shown" = "290x428+495+186" ]
' "$client"
