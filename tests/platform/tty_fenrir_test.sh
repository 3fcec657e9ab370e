#!/usr/bin/env bash
# The terminal played by ear through a real screen reader: fenrir in its PTY mode, in tmux, runs
# the program with --screen-reader, and its speech goes to a file (fenrir's generic speech driver
# with a command that appends each utterance). A short walk from the title to the labyrinth: what
# fenrir speaks after each key must hold that key's news, in order, a repeated step and a step
# into the wall too. Arguments: the program, a work folder. Exit status 77 (skipped) without
# tmux or fenrir (scripts/deps.sh web installs it).
set -u
program=$(realpath "$1")
work=$2
for tool in tmux fenrir; do
  command -v $tool >/dev/null || { echo "skipped: needs $tool (bash scripts/deps.sh web)"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work/drives" || exit 1
spoken=$work/spoken.txt
server=kestran-fenrir-$$
trap 'tmux -L "$server" kill-server 2>/dev/null' EXIT

printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$spoken" >"$work/say.sh"
printf '#!/bin/sh\nexec "%s" --backend=tty --language=ja --screen-reader --seed=7 --drives="%s"\n' "$program" "$work/drives" >"$work/game.sh"
chmod +x "$work/say.sh" "$work/game.sh"
sed -e '/^\[sound\]/,/^\[/s/^enabled=.*/enabled=False/' -e '/^\[remote\]/,/^\[/s/^enable=.*/enable=False/' \
  -e "s|^genericSpeechCommand=.*|genericSpeechCommand=$work/say.sh \"fenrirText\"|" \
  -e "s|^debugFile=.*|debugFile=$work/fenrir.log|" -e "s|^shell=.*|shell=$work/game.sh|" \
  /etc/fenrirscreenreader/settings/settings.conf >"$work/fenrir.conf" || exit 1
: >"$spoken"
tmux -L "$server" new-session -d -x 80 -y 24 "timeout --foreground 120 fenrir -e -s '$work/fenrir.conf' 2>'$work/stderr'"

fail() {
  printf 'FAILED: %s\n--- fenrir said:\n%s\n' "$*" "$(cat "$spoken")"
  exit 1
}
# Waits until fenrir's speech has grown past $1 bytes and then stayed still for half a second
# (at most 8 s).
settle() {
  local size=-1 still=0 now
  for _ in $(seq 80); do
    now=$(wc -c <"$spoken")
    if [ "$now" = "$size" ]; then still=$((still + 1)); else still=0 size=$now; fi
    [ "$now" -gt "$1" ] && [ $still -ge 5 ] && return
    sleep 0.1
  done
}
# Types a key (tmux's name) and leaves what fenrir said for it in $said, on one line.
key() {
  local lines bytes
  lines=$(wc -l <"$spoken") bytes=$(wc -c <"$spoken")
  tmux -L "$server" send-keys "$1"
  settle "$bytes"
  # fenrir's "has attribute" tells a colour change under the cursor, which depends on when the
  # terminal was drawn, not on what the game said.
  said=$(tail -n +$((lines + 1)) "$spoken" | tr '\n' ' ' | sed 's/has attribute//g' | tr -s ' ')
}
expect() {
  [[ "$said" =~ $1 ]] || fail "after $2 fenrir said: $said"
}

for _ in $(seq 100); do
  grep -q 'NEW GAME' "$spoken" && break
  sleep 0.1
done
grep -q 'NEW GAME' "$spoken" || fail "the title was not read"
settle 0
for k in n T A R O; do key $k; done
key Enter
expect '筋力 9 .*これでよろしいですか？ Y slash N $' "the name (the question last)"
key Y
expect '「 plus 」と「 dash 」' "the roll's Y (the bonus keys said)"
key +
expect '筋力 9 1 (, )?残りのボーナスポイント 16' "+ (the attribute first)"
[ "$(tmux -L "$server" display -p '#{cursor_y}')" = 4 ] || fail "after + the cursor is not on the attribute's row"
for k in x - + Enter Enter Enter Enter Enter Enter Enter Y Y C Y x; do key $k; done
key M
expect '東向き。前は2歩以上続く。左は壁、右は横道。1歩先は両側が壁。ここに上り階段。' "M"
for step in first second; do
  key Up
  expect '東向き。前は2歩以上続く。両側は壁。1歩先は両側が壁。' "the $step step along the corridor"
done
key Left
expect '北向き。前は壁。両側は横道。' "a turn"
key Up
expect '北向き。前は壁。両側は横道。' "a step into the wall"
echo "fenrir read the walk"
