#!/usr/bin/env bash
# A signal that ends extract while it writes its two files, at each step of each file:
# the write, the sync and the rename, delivered at the Nth such call by strace (no timing).
# No temporary file may stay behind; a file not yet put in place keeps its older version.
#   check_signal_during_writes.sh PROGRAM PRODUCTS_DIR
set -u
program=$(realpath "$1")
products=$(realpath "$2")
if ! command -v strace >/dev/null || ! strace -o /dev/null true 2>/dev/null; then
    echo "strace cannot trace here; skipped"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }

cd "$work" || exit 1
cp "$products/bufkit/gfs3_kdsm.buf" .
# CALL WHEN COLUMNS SEVERE: SIGTERM on the WHEN-th CALL; then each file is "old" or "new".
while read -r call when columns severe; do
    case="SIGTERM at $call $when"
    rm -f gfs3_kdsm_*
    printf 'old\n' >gfs3_kdsm_columns.txt
    printf 'old\n' >gfs3_kdsm_severe.txt
    timeout 60 strace -o /dev/null -e trace=write,fsync,rename \
        -e inject="$call:signal=TERM:when=$when" "$program" extract gfs3_kdsm.buf >/dev/null 2>&1
    status=$?
    [ $status -eq 143 ] || fail "exit status $status, expected 143 (killed by SIGTERM)"
    leftover=$(ls | grep -v -x -e gfs3_kdsm.buf -e gfs3_kdsm_columns.txt -e gfs3_kdsm_severe.txt)
    [ -z "$leftover" ] || fail "left behind: $leftover"
    for file in columns severe; do
        expected=${!file}
        actual=new
        [ "$(cat "gfs3_kdsm_$file.txt")" = old ] && actual=old
        [ "$actual" = "$expected" ] || fail "the $file file is $actual, expected $expected"
    done
done <<'CASES'
write 1 old old
fsync 1 old old
write 2 new old
fsync 2 new old
rename 1 new old
rename 2 new new
CASES

[ $failures -eq 0 ] && echo "no signal left a temporary file behind"
exit $((failures > 0))
