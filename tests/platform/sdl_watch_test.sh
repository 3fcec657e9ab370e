#!/usr/bin/env bash
# The window watching a recording, in an X server of its own: the title carries the watcher's
# state, Space pauses, Right steps, Left goes back (the game starts again), End goes to the last
# key, Esc hands the game over (the title is the program's name again). The player's drives are
# never written, and the session's trace is the headless replay's of the new recording.
# Arguments: the program, a work folder. Exit status 77 (skipped) without xvfb-run or xdotool.
set -u
program=$1
work=$2
if [ -z "${KESTRAN_IN_XVFB:-}" ]; then
  if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "skipped: needs xvfb-run and xdotool"
    exit 77
  fi
  rm -rf "$work" && mkdir -p "$work" || exit 1
  # timeout signals its whole process group: the server and the program end however this does.
  exec timeout -k 5 120 env KESTRAN_IN_XVFB=1 \
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash "$0" "$@"
fi

fail() {
  echo "FAILED: $*"
  exit 1
}

printf '#seed 3\nNCARL{Enter}\nY{Enter}\n{Enter}\n{Enter}\n{Enter}\n{Enter}\n{Enter}\n{Enter}\nYYCYxIYYCNcYxx' \
  >"$work/friend.keys"
# The desktop's libraries that SDL loads keep some memory to the end (a sanitized build's leak
# check would blame them).
ASAN_OPTIONS=detect_leaks=0 SDL_AUDIODRIVER=dummy "$program" --backend=sdl --language=ja --scale=1 --drives="$work/drives" --speed=4 \
  --watch="$work/friend.keys" --record="$work/mine.keys" --trace="$work/window.trace" 2>"$work/stderr" &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
window=$(xdotool search --sync --pid "$pid" | head -1)
[ -n "$window" ] || fail "no window"

title() { xdotool getwindowname "$window"; }
# Waits until the title holds $1 (or is exactly $1 with $2 = exact).
wait_title() {
  for _ in $(seq 150); do
    case "$(title)" in
      "$1") return 0 ;;
      *"$1"*) [ "${2:-}" = exact ] || return 0 ;;
    esac
    sleep 0.1
  done
  fail "the title never showed '$1': $(title)"
}
key() { xdotool key --window "$window" "$1"; }

wait_title "kestran - watching key "
key space
wait_title ", paused | Space pause"
typed=$(title | sed -n 's/^kestran - watching key \([0-9]*\)\/28.*/\1/p')
[ -n "$typed" ] || fail "no key count in '$(title)'"
sleep 1
wait_title "key $typed/28, paused"
key Right
wait_title "key $((typed + 1))/28, paused"
key Right
wait_title "key $((typed + 2))/28, paused"
key Left
wait_title "key $((typed + 1))/28, paused"
key End
wait_title "key 27/28, paused"
key Escape
wait_title kestran exact
kill -TERM "$pid"
wait "$pid"
status=$?
trap - EXIT
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr")"
[ ! -e "$work/drives/C" ] || fail "the watched game wrote the player's drives"

"$program" --backend=headless --keys-file="$work/mine.keys" --drives="$work/replay" \
  --trace="$work/headless.trace" || fail "the recording does not replay"
cmp "$work/window.trace" "$work/headless.trace" || fail "the traces differ"
[ "$(grep -c '^@@ ' "$work/window.trace")" -eq 28 ] || fail "not 27 keys and the close in the trace"
echo "passed"
