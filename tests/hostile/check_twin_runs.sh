#!/usr/bin/env bash
# Eight identical runs at once on one data file, ten times over: each puts a whole report
# in place, so each must say so (exit 0, nothing on standard error) and leave the report
# a single run writes, with no temporary file behind.
#   check_twin_runs.sh PROGRAM EXAMPLES_DIR
set -u
program=$(realpath "$1")
examples=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }

cd "$work" || exit 1
mkdir alone together
cp "$examples/gfs.txt" alone/
cp "$examples/gfs.txt" together/
(cd alone && "$program" --csv run 2 gfs.txt >/dev/null 2>&1) || { echo "a single run failed"; exit 1; }
cd together || exit 1
for round in 1 2 3 4 5 6 7 8 9 10; do
    case="round $round"
    pids=()
    for twin in 1 2 3 4 5 6 7 8; do
        timeout 60 "$program" --csv run 2 gfs.txt >"../out$twin" 2>"../err$twin" &
        pids+=($!)
    done
    for twin in 1 2 3 4 5 6 7 8; do
        wait "${pids[$((twin - 1))]}"
        status=$?
        [ $status -eq 0 ] || fail "run $twin: exit status $status: $(head -c 300 "../err$twin")"
        [ "$(cat "../err$twin")" = "You have a valid file.
gfs.out: model GFS, place KFSD SIOUX FALLS SD, run 12Z 14 MAY 2024." ] ||
            fail "run $twin: standard error: $(head -c 300 "../err$twin")"
    done
    for file in gfs.out gfs.csv; do
        cmp -s "$file" "../alone/$file" || fail "$file differs from a single run's"
    done
    [ "$(ls | tr '\n' ' ')" = "gfs.csv gfs.out gfs.txt " ] || fail "folder holds: $(ls | tr '\n' ' ')"
done

[ $failures -eq 0 ] && echo "every twin run told its report written"
exit $((failures > 0))
