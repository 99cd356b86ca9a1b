#!/usr/bin/env bash
# On a real terminal the menu clears the screen between runs and the pause waits for a
# key. Drives the program in a detached tmux session and reads its screen.
set -u
program=$1
session="wxguide-tty-$$"
work=$(mktemp -d)
trap 'tmux kill-session -t "$session" 2>/dev/null; rm -rf "$work"' EXIT

screen() { tmux capture-pane -p -t "$session"; }
fail() { echo "FAIL: $1"; echo "--- screen ---"; screen; exit 1; }
wait_for() {  # text, what it means
    for _ in $(seq 1 50); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    fail "$2"
}

cd "$work" || exit 1
tmux new-session -d -s "$session" -x 120 -y 40 "'$program'; echo exit=\$?; sleep 30"
wait_for "7) Quit" "the menu did not appear"

# An illegal word: the echo is cleared away, the message waits under the pause prompt.
tmux send-keys -t "$session" "q" Enter
wait_for "Press any key to continue . . ." "no pause prompt after an illegal option"
screen | grep -qF "Illegal option was entered, try again." || fail "the message is missing"
screen | grep -qF "7) Quit" && fail "the screen was not cleared before the message"
sleep 0.3
screen | grep -qF "7) Quit" && fail "the pause did not wait for a key"

# One key, not a line: the pause ends, the screen is cleared and the menu comes back.
tmux send-keys -t "$session" "x"
wait_for "7) Quit" "the menu did not come back after a key"
screen | grep -qF "Illegal option" && fail "the screen was not cleared after the pause"

# The key was not echoed, and the terminal is usable again: typed text echoes.
tmux send-keys -t "$session" "7" Enter
wait_for "Press any key to continue . . ." "no pause before quitting"
tmux send-keys -t "$session" "y"
wait_for "exit=0" "the program did not quit with status 0"
screen | grep -qF "Press any key to continue . . . y" && fail "the key pressed at the pause was echoed"
screen | grep -q "^7$" || fail "the typed 7 was not echoed by the terminal"

# Ctrl-C during the pause must leave the terminal in its normal mode.
# The shell ignores Ctrl-C so that it survives to read the terminal's modes afterwards.
tmux kill-session -t "$session"
tmux new-session -d -s "$session" -x 120 -y 40 \
    "trap '' INT; '$program'; stty -a > '$work/stty.txt'; sleep 30"
wait_for "7) Quit" "the menu did not appear the second time"
tmux send-keys -t "$session" "7" Enter
wait_for "Press any key to continue . . ." "no pause before quitting"
tmux send-keys -t "$session" C-c
for _ in $(seq 1 50); do [ -s "$work/stty.txt" ] && break; sleep 0.1; done
modes=$(tr ' ;' '\n\n' < "$work/stty.txt")
grep -qx "icanon" <<<"$modes" || fail "the terminal was left without line editing after Ctrl-C"
grep -qx "echo" <<<"$modes" || fail "the terminal was left without echo after Ctrl-C"
echo "console clearing and pausing behave on a real terminal"
