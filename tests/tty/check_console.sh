#!/usr/bin/env bash
# On a real terminal the menu clears the screen between runs and the pause waits for a
# key. Drives the program in a detached tmux session and reads its screen.
set -u
program=$1
. "$(dirname "$0")/tmux_session.sh"
cd "$work" || exit 1

start "'$program'; echo exit=\$?; sleep 30"
# An illegal word: the echo is cleared away, the message waits under the pause prompt;
# one key, not a line, ends the pause.
check_clear_and_pause "Press any key to continue . . ."

# The key was not echoed, and the terminal is usable again: typed text echoes.
tmx send-keys -t "$session" "7" Enter
wait_for "Press any key to continue . . ." "no pause before quitting"
tmx send-keys -t "$session" "y"
wait_for "exit=0" "the program did not quit with status 0"
screen | grep -qF "Press any key to continue . . . y" && fail "the key pressed at the pause was echoed"
screen | grep -q "^7$" || fail "the typed 7 was not echoed by the terminal"

# Ctrl-C during the pause must leave the terminal in its normal mode.
# The shell ignores Ctrl-C so that it survives to read the terminal's modes afterwards.
start "trap '' INT; '$program'; stty -a > '$work/stty.txt'; sleep 30"
wait_for "7) Quit" "the menu did not appear the second time"
tmx send-keys -t "$session" "7" Enter
wait_for "Press any key to continue . . ." "no pause before quitting"
tmx send-keys -t "$session" C-c
for _ in $(seq 1 50); do [ -s "$work/stty.txt" ] && break; sleep 0.1; done
modes=$(tr ' ;' '\n\n' < "$work/stty.txt")
grep -qx "icanon" <<<"$modes" || fail "the terminal was left without line editing after Ctrl-C"
grep -qx "echo" <<<"$modes" || fail "the terminal was left without echo after Ctrl-C"

# Typed at the terminal, the transcript to a file: the pause still waits on the terminal,
# and the file holds no escape codes.
start "'$program' > '$work/transcript.txt'; echo exit=\$?; sleep 30"
sleep 0.3
tmx send-keys -t "$session" "q" Enter
sleep 0.3
tmx send-keys -t "$session" "x"
sleep 0.3
tmx send-keys -t "$session" "7" Enter "y"
wait_for "exit=0" "the program with its transcript in a file did not quit"
grep -qF "Illegal option was entered, try again." "$work/transcript.txt" ||
    fail "the transcript misses the message: $(cat -v "$work/transcript.txt")"
grep -q $'\033' "$work/transcript.txt" && fail "the transcript holds escape codes"
grep -qF "Press any key to continue . . ." "$work/transcript.txt" ||
    fail "no pause prompt while typing at the terminal"

# Piped input, the screen the terminal: cleared between runs, but no pause prompt.
start "printf 'q\\n7\\n' | '$program'; echo exit=\$?; sleep 30"
wait_for "exit=0" "the program on piped input did not quit"
screen | grep -qF "Press any key" && fail "a pause prompt with piped input"
screen | grep -qF "Illegal option" && fail "the screen was not cleared after the run"
echo "console clearing and pausing behave on a real terminal"
