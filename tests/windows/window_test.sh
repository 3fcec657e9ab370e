#!/usr/bin/env bash
# The Windows program's window under Wine, in an X server of its own: the title screen it shows,
# grabbed from the X server at scale 1, equals the headless program's picture of it, pixel for
# pixel. Arguments: kestran.exe, a work folder (window.png there is the grab, to look at).
# Exit status 77 (skipped) without xvfb-run, xdotool, xwd or netpbm.
set -u
program=$1
work=$2
if [ -z "${KESTRAN_IN_XVFB:-}" ]; then
  for tool in wine xvfb-run xdotool xwd xwdtopnm pngtopnm pamcut; do
    command -v "$tool" >/dev/null || { echo "skipped: needs $tool"; exit 77; }
  done
  rm -rf "$work" && mkdir -p "$work" || exit 1
  # timeout signals its whole process group: the server and the program end however this does.
  exec timeout -k 5 170 env KESTRAN_IN_XVFB=1 \
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" "$@"
fi

fail() {
  echo "FAILED: $*"
  exit 1
}

# A Wine prefix of this test's own: Wine's desktop belongs to the first program of a prefix's
# session, and one that other tests started without a display has none to give a window.
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

: >"$work/no.keys"
wine "$program" --backend=headless --keys-file="$work/no.keys" --drives="$work/headless" \
  --dump-png="$work/headless.png" || fail "no headless picture"
pngtopnm "$work/headless.png" >"$work/headless.ppm" || fail "unreadable headless picture"

SDL_AUDIODRIVER=dummy wine "$program" --backend=sdl --scale=1 --drives="$work/window" 2>"$work/stderr" &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
window=
for _ in $(seq 300); do
  window=$(xdotool search --name '^kestran$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || fail "no window: $(cat "$work/stderr")"

# The client area is the frame's 640x432 pixels; a frame Wine draws itself sits around it.
grab() {
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null >"$work/grab.ppm" || return 1
  read -r width height < <(head -c 64 "$work/grab.ppm" | sed -n 2p)
  local border=$(((width - 640) / 2))
  pamcut -left "$border" -top $((height - 432 - border)) -width 640 -height 432 "$work/grab.ppm" >"$work/window.ppm"
}
for _ in $(seq 100); do
  grab && cmp -s "$work/window.ppm" "$work/headless.ppm" && break
  sleep 0.2
done
pnmtopng "$work/window.ppm" >"$work/window.png" 2>/dev/null
cmp -s "$work/window.ppm" "$work/headless.ppm" || fail "the window never showed the headless title ($work/window.png)"
xdotool key --window "$window" alt+F4 2>/dev/null
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the close box did not end the program"
wait "$pid"
status=$?
trap - EXIT
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr")"
echo "passed"
