#!/usr/bin/env bash
# A signal that ends extract while it writes its two files, at each step of each file:
# the write, the sync and the rename, delivered at the Nth such call by strace (no timing).
# No temporary file may stay behind; each file holds its older text or the whole new one.
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
mkdir whole
cp "$products/bufkit/gfs3_kdsm.buf" .
cp gfs3_kdsm.buf whole/
(cd whole && "$program" extract gfs3_kdsm.buf >/dev/null 2>&1) || { echo "extract failed"; exit 1; }
# SIGTERM on the Nth write, sync or rename, N from 1 on, until a run ends before it: each
# file then holds its older text or the whole new one, the column file first.
for call in write fsync rename; do
    killed=0
    for when in 1 2 3 4 5 6 7 8 9 10 11 12; do
        case="SIGTERM at $call $when"
        rm -f gfs3_kdsm_*
        printf 'old\n' >gfs3_kdsm_columns.txt
        printf 'old\n' >gfs3_kdsm_severe.txt
        # LeakSanitizer cannot run under a tracer; a sanitizer build checks leaks elsewhere.
        ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 timeout 60 strace -o /dev/null -e trace=write,fsync,rename \
            -e inject="$call:signal=TERM:when=$when" "$program" extract gfs3_kdsm.buf \
            >/dev/null 2>&1
        status=$?
        [ $status -eq 0 ] && break
        killed=$((killed + 1))
        [ $status -eq 143 ] || fail "exit status $status, expected 143 (killed by SIGTERM)"
        leftover=$(ls | grep -v -x -e whole -e gfs3_kdsm.buf -e gfs3_kdsm_columns.txt -e gfs3_kdsm_severe.txt)
        [ -z "$leftover" ] || fail "left behind: $leftover"
        for file in columns severe; do
            if [ "$(cat "gfs3_kdsm_$file.txt")" = old ]; then
                eval "$file=old"
            elif cmp -s "gfs3_kdsm_$file.txt" "whole/gfs3_kdsm_$file.txt"; then
                eval "$file=new"
            else
                eval "$file=cut"
                fail "the $file file is neither the older one nor the whole new one"
            fi
        done
        [ "$columns/$severe" != old/new ] || fail "the severe file was placed before the column file"
    done
    # Both files are written and put in place: at least two calls each.
    [ $killed -ge 2 ] || { case=$call; fail "only $killed runs were stopped at a $call"; }
done

[ $failures -eq 0 ] && echo "no signal left a temporary file behind"
exit $((failures > 0))
