#!/usr/bin/env bash
# What a case folder cannot hold among assemble's products: a pipe, a device and a socket
# given as a product or as standard input, and a product of 60,000 dates, whose peak
# memory must stay within 16 MiB (left unmeasured in a sanitizer build, whose shadow
# memory dwarfs it, and where /usr/bin/time is missing).
#   check_assemble_products.sh PROGRAM [sanitized]
set -u
program=$(realpath "$1")
sanitized=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }

# refused NAME MESSAGE [INPUT]: assemble on NAME ends at once with status 1 and MESSAGE.
refused() {
    case=$1
    timeout 10 "$program" assemble --output out.txt "$1" <"${3:-/dev/null}" >stdout 2>stderr
    status=$?
    [ $status -eq 1 ] || fail "exit status $status, expected 1 (124: it hung)"
    [ "$(cat stderr)" = "wxguide assemble: $2" ] || fail "standard error: $(head -c 300 stderr)"
    [ -s stdout ] && fail "standard output: $(head -c 100 stdout)"
    [ -e out.txt ] && fail "out.txt was written"
}
plain="is no plain file (a folder, a pipe, a device or a socket); nothing was written."

mkfifo pipe
refused pipe "pipe $plain"
refused /dev/zero "/dev/zero $plain"
refused - "standard input $plain" /dev/zero
if command -v python3 >/dev/null; then
    python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind("sock")'
    refused sock "sock $plain"
fi
# A pipe on standard input is read to its end.
case=pipe_on_standard_input
printf 'KBKX   GFS MOS GUIDANCE   12/08/2026  1200 UTC\n' |
    timeout 10 "$program" assemble - >stdout 2>stderr
[ $? -eq 1 ] || fail "exit status $?, expected 1"
grep -q '^missing: KBKX NAM or NBS 1200 UTC 12/08/2026$' stderr || fail "$(head -c 300 stderr)"

# 60,000 dates from 1/1/1900 on, one bulletin each, of eight stations in turn.
awk 'BEGIN {
    split("31 28 31 30 31 30 31 31 30 31 30 31", length_of)
    split("KBKX KHON KMHE KFSD KSUX KOMA KDSM KMSP", station)
    n = 0
    for (year = 1900; n < 60000; ++year) {
        leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0
        for (month = 1; month <= 12 && n < 60000; ++month) {
            days = length_of[month] + (month == 2 && leap)
            for (day = 1; day <= days && n < 60000; ++day) {
                printf "%s   GFS MOS GUIDANCE   %d/%d/%d  1200 UTC\nN/X  1 2 3 4\n\n", \
                    station[n % 8 + 1], month, day, year
                ++n
            }
        }
    }
}' >dates.txt
eight=KBKX,KHON,KMHE,KFSD,KSUX,KOMA,KDSM,KMSP
eight_set=$(echo "$eight" | sed 's/,/=0.125,/g; s/$/=0.125/')
for set in four eight; do
    case=sixty_thousand_dates_$set
    options=()
    [ $set = eight ] && options=(--stations "$eight_set")
    measure=()
    if [ -z "$sanitized" ] && [ -x /usr/bin/time ]; then
        measure=(/usr/bin/time -f %M -o rss)
    fi
    timeout 60 "${measure[@]}" "$program" "${options[@]}" assemble dates.txt >stdout 2>stderr
    status=$?
    [ $status -eq 1 ] || fail "exit status $status, expected 1"
    # The newest date of a station of the set: the last bulletin's, or for the four the
    # last of a station among them.
    newest=04/09/2064
    [ $set = four ] && newest=04/05/2064
    grep -q "^missing: KBKX GFSX 0000 UTC $newest$" stderr ||
        fail "the newest date is not named: $(head -c 300 stderr)"
    if [ ${#measure[@]} -gt 0 ]; then
        peak=$(tail -n 1 rss)
        [ "$peak" -le 16384 ] || fail "peak memory $peak KiB, more than 16 MiB"
        echo "$case: peak memory $peak KiB"
    fi
done

[ $failures -eq 0 ] && echo "all assemble product checks passed"
exit $((failures > 0))
