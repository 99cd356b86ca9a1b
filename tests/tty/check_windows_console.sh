#!/usr/bin/env bash
# The Windows program on a real console (wine gives it one on a terminal): CLS clears the
# screen between runs and PAUSE waits for one key without echoing it.
#   check_windows_console.sh EMULATOR... PROGRAM.exe
set -u
session="wxguide-wintty-$$"
work=$(mktemp -d)
trap 'tmux kill-session -t "$session" 2>/dev/null; rm -rf "$work"' EXIT
command=""
for word in "$@"; do
    command="$command '$word'"
done

screen() { tmux capture-pane -p -t "$session"; }
fail() { echo "FAIL: $1"; echo "--- screen ---"; screen; exit 1; }
wait_for() {  # text, what it means
    for _ in $(seq 1 150); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    fail "$2"
}

cd "$work" || exit 1
tmux new-session -d -s "$session" -x 120 -y 40 "$command; echo exit=\$?; sleep 60"
wait_for "7) Quit" "the menu did not appear"

tmux send-keys -t "$session" "q" Enter
wait_for "Press any key to continue" "no pause prompt after an illegal option"
screen | grep -qF "Illegal option was entered, try again." || fail "the message is missing"
screen | grep -qF "7) Quit" && fail "the screen was not cleared before the message"
sleep 0.5
screen | grep -qF "7) Quit" && fail "the pause did not wait for a key"

tmux send-keys -t "$session" "x"
wait_for "7) Quit" "the menu did not come back after a key"
screen | grep -qF "Illegal option" && fail "the screen was not cleared after the pause"

tmux send-keys -t "$session" "7" Enter
wait_for "Press any key to continue" "no pause before quitting"
tmux send-keys -t "$session" "y"
wait_for "exit=0" "the program did not quit with status 0"
screen | grep -q "continue[ .]*y" && fail "the key pressed at the pause was echoed"
echo "the Windows console is cleared and paused on a real console"
