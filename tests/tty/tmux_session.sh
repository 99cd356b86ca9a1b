# Sourced by the terminal checks: a tmux server of the check's own (never the user's or
# another check's default server), a scratch folder, and reading the screen.
#   TTY_WAIT_STEPS: how many tenths of a second wait_for waits (50 unless set).
server="wxguide-tty-$$-$RANDOM"
session=""
sessions=0
work=$(mktemp -d)
trap 'tmux -L "$server" kill-server 2>/dev/null; rm -rf "$work"' EXIT

tmx() { tmux -L "$server" "$@"; }
screen() { tmx capture-pane -p -t "$session"; }
fail() { echo "FAIL: $1"; echo "--- screen ---"; screen; exit 1; }
wait_for() {  # text, what it means
    for _ in $(seq 1 "${TTY_WAIT_STEPS:-50}"); do
        screen | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    fail "$2"
}
# start COMMAND: a fresh session running COMMAND on a 120x40 terminal. The session before
# it is ended only once the new one stands: a server left without sessions exits, and a
# session started meanwhile would meet it exiting.
start() {
    local previous=$session
    sessions=$((sessions + 1))
    session="s$sessions"
    tmx new-session -d -s "$session" -x 120 -y 40 "$1"
    [ -z "$previous" ] || tmx kill-session -t "$previous" 2>/dev/null
}

# check_clear_and_pause PAUSE_PROMPT: on the menu of a running session, an illegal word
# clears the screen and leaves its message under the pause prompt; the pause waits for
# one key, after which the screen is cleared and the menu comes back.
check_clear_and_pause() {
    wait_for "7) Quit" "the menu did not appear"
    tmx send-keys -t "$session" "q" Enter
    wait_for "$1" "no pause prompt after an illegal option"
    screen | grep -qF "Illegal option was entered, try again." || fail "the message is missing"
    screen | grep -qF "7) Quit" && fail "the screen was not cleared before the message"
    sleep 0.5
    screen | grep -qF "7) Quit" && fail "the pause did not wait for a key"
    tmx send-keys -t "$session" "x"
    wait_for "7) Quit" "the menu did not come back after a key"
    screen | grep -qF "Illegal option" && fail "the screen was not cleared after the pause"
}
