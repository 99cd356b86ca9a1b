#!/usr/bin/env bash
# The Windows program on a real console (wine gives it one on a terminal): CLS clears the
# screen between runs and PAUSE waits for one key without echoing it.
#   check_windows_console.sh EMULATOR... PROGRAM.exe
set -u
command=""
for word in "$@"; do
    command="$command '$word'"
done
TTY_WAIT_STEPS=150
. "$(dirname "$0")/tmux_session.sh"

cd "$work" || exit 1
start "$command; echo exit=\$?; sleep 60"
check_clear_and_pause "Press any key to continue"

tmx send-keys -t "$session" "7" Enter
wait_for "Press any key to continue" "no pause before quitting"
tmx send-keys -t "$session" "y"
wait_for "exit=0" "the program did not quit with status 0"
screen | grep -q "continue[ .]*y" && fail "the key pressed at the pause was echoed"
echo "the Windows console is cleared and paused on a real console"
