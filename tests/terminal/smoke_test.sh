#!/usr/bin/env bash
# The viewer in a real terminal (tmux): it shows its bars, opens Tools with F2, quits with
# Ctrl+Q with exit code 0, and leaves the terminal as it found it; a SIGTERM does too. Started
# as ./run.sh starts it, against the quote service, F1 fills its list with prices.
set -u
bin=$1
quotes=$2
work=$(mktemp -d)
run=0
socket="tickwell-smoke-$$-$run"
service=""
trap 'tmux -L "$socket" kill-server 2>/dev/null; [ -n "$service" ] && kill "$service"; rm -rf "$work"' EXIT
fail() { echo "smoke: $*"; tmux -L "$socket" capture-pane -p -t smoke 2>/dev/null; exit 1; }

# Runs the viewer in the pane; the pane records the exit code and whether stty is unchanged.
# $1: what goes before the viewer's command (variables for it).
start() {
  rm -f "$work/result"
  tmux -L "$socket" kill-server 2>/dev/null
  # A server of its own for each run: a server still going down must not take the new one.
  run=$((run + 1))
  socket="tickwell-smoke-$$-$run"
  tmux -L "$socket" new-session -d -s smoke -x 80 -y 24 \
    "before=\$(stty -g); ${1:-} TICKWELL_DEVICE=$work/device '$bin'; rc=\$?; after=\$(stty -g); \
     [ \"\$before\" = \"\$after\" ] && same=yes || same=no; echo \"rc=\$rc same=\$same\" > $work/result; sleep 30"
}
screen() { tmux -L "$socket" capture-pane -p -t smoke; }
wait_for() {
  for _ in $(seq 100); do screen | grep -q -- "$1" && return 0; sleep 0.1; done
  fail "no '$1' on the screen"
}
wait_result() {
  for _ in $(seq 100); do [ -s "$work/result" ] && return 0; sleep 0.1; done
  fail "the viewer did not end"
}

start
wait_for "F1 Refresh"
screen | head -n 1 | grep -q "PIV" || fail "no title in the navigation bar"
screen | head -n 1 | grep -q "\[ok\]" || fail "no ok button"
title=$(tmux -L "$socket" display -p -t smoke '#{pane_title}')
[ "$title" = "PIV - Tickwell" ] || fail "the terminal's title is '$title'"
tmux -L "$socket" send-keys -t smoke F2
wait_for "Quote Options"
tmux -L "$socket" send-keys -t smoke Escape
sleep 0.2
tmux -L "$socket" send-keys -t smoke C-q
wait_result
grep -q "rc=0 same=yes" "$work/result" || fail "after Ctrl+Q: $(cat "$work/result")"
screen | grep -q "F1 Refresh" && fail "the viewer's screen is still up"

start
wait_for "F1 Refresh"
# Only this pane's viewer: other tests run viewers of the same binary at the same time.
pane=$(tmux -L "$socket" display -p -t smoke '#{pane_pid}')
pkill -TERM -P "$pane" -f "^$bin\$" || fail "no viewer to stop"
wait_result
grep -q "same=yes" "$work/result" || fail "after SIGTERM: $(cat "$work/result")"

"$quotes" --port 0 --quiet --clock 2026-12-07T15:30:00Z >"$work/port" &
service=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(head -n 1 "$work/port")
[ -n "$port" ] || fail "the quote service did not start"
start "TICKWELL_CONNECT_TO=::127.0.0.1:$port"
wait_for "MSFT"
screen | grep "MSFT" | grep -q '\*' || fail "no placeholder before the refresh"
tmux -L "$socket" send-keys -t smoke F1
# MSFT's last price, with two decimals, where the placeholder was.
wait_for "MSFT *USA *[0-9][0-9]*\.[0-9][0-9] "
tmux -L "$socket" send-keys -t smoke C-q
wait_result
grep -q "rc=0 same=yes" "$work/result" || fail "after the refresh: $(cat "$work/result")"

# NO_COLOR: no colour at all; the marks differ by glyph (or their ASCII stand-ins outside a
# UTF-8 locale) and what has the focus is in reverse video.
start "NO_COLOR=1 TICKWELL_CONNECT_TO=::127.0.0.1:$port"
wait_for "F1 Refresh"
tmux -L "$socket" send-keys -t smoke F1
wait_for "MSFT *USA *[0-9][0-9]*\.[0-9][0-9] "
screen | grep -Eq "(▼|v) MSFT" || fail "MSFT went down at this hour: no down mark"
styled=$(tmux -L "$socket" capture-pane -p -e -t smoke)
printf '%s' "$styled" | grep -Eq $'\e\[([0-9;]*;)?(3[0-7]|4[0-7]|38;5|48;5)[;m]' &&
  fail "colours under NO_COLOR"
printf '%s' "$styled" | grep -q $'\e\[7m\|\e\[[0-9;]*;7m' || fail "no reverse video under NO_COLOR"
tmux -L "$socket" send-keys -t smoke C-q
wait_result
grep -q "rc=0 same=yes" "$work/result" || fail "after NO_COLOR: $(cat "$work/result")"
echo "smoke: ok"
