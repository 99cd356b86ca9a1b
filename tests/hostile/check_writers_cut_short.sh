#!/usr/bin/env bash
# Every writer of a whole file, cut short by the file size limit part way through its
# text: assemble's --output, extract's model column file, and the picture beside a
# report. Each must say which file was not written, exit 1, keep the older file and
# leave no temporary file. Then a full standard output under assemble and stations.
#   check_writers_cut_short.sh PROGRAM CASES_DIR PRODUCTS_DIR EXAMPLES_DIR
set -u
program=$(realpath "$1")
cases=$(realpath "$2")
products=$(realpath "$3")
examples=$(realpath "$4")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }
fresh() {  # a clean folder holding FILES
    case=$1
    shift
    rm -rf "$work/run" && mkdir "$work/run" && cd "$work/run" || exit 1
    cp "$@" .
}
# limited BLOCKS STATUS ARGS...: the program with its files limited to BLOCKS of 1024
# bytes; its output in ../stdout and ../stderr, which the limit does not touch.
limited() {
    local blocks=$1 expected=$2
    shift 2
    (ulimit -f "$blocks" && exec timeout 20 "$program" "$@" >../stdout 2>../stderr)
    status=$?
    [ $status -eq "$expected" ] || fail "exit status $status, expected $expected (124: it hung)"
}
same_files() {  # EXPECTED-LIST: the folder holds exactly these names
    local actual
    actual=$(ls -A | tr '\n' ' ')
    [ "$actual" = "$1 " ] || fail "folder holds [$actual], expected [$1 ]"
}
told() {  # FILE TEXT: FILE holds exactly TEXT
    [ "$(cat "$1")" = "$2" ] || fail "$1 holds: $(head -c 300 "$1")"
}

# About 13 KiB of twelve bulletins, into 4 KiB.
fresh assemble_output "$cases/assemble_dates_and_refusals/files/leap.txt"
printf 'the older file\n' >today.txt
limited 4 1 assemble --date 2/29/2024 --output today.txt leap.txt
told ../stderr "wxguide assemble: today.txt could not be written (file too large); nothing was."
told ../stdout ""
told today.txt "the older file"
same_files "leap.txt today.txt"

# The model column file (4.6 KiB) is the first written: neither is.
fresh extract_files "$products/bufkit/gfs3_kdsm.buf"
printf 'the older columns\n' >gfs3_kdsm_columns.txt
limited 4 1 extract gfs3_kdsm.buf
told ../stderr "wxguide extract: gfs3_kdsm_columns.txt could not be written (file too large); nothing was."
told gfs3_kdsm_columns.txt "the older columns"
same_files "gfs3_kdsm.buf gfs3_kdsm_columns.txt"

# The report (8.5 KiB) fits in 9 KiB, its picture (44 KiB) does not: the report stays,
# and the run exits 1 for the lost picture.
fresh picture_beside_report "$examples/gfs.txt"
printf 'the older picture\n' >gfs.svg
limited 9 1 --plot run 2 gfs.txt
told ../stderr "You have a valid file.
The file gfs.svg could not be written (file too large).
gfs.out: model GFS, place KFSD SIOUX FALLS SD, run 12Z 14 MAY 2024."
told gfs.svg "the older picture"
[ -s gfs.out ] || fail "the report was not written"
same_files "gfs.out gfs.svg gfs.txt"

# The report itself (8.5 KiB) into 4 KiB: the system's reason, and nothing described.
fresh report_cut_short "$examples/gfs.txt"
printf 'the older report\n' >gfs.out
limited 4 1 run 2 gfs.txt
told ../stderr "You have a valid file.
The report file gfs.out could not be written (file too large)."
told gfs.out "the older report"
same_files "gfs.out gfs.txt"

# A folder that is a plain file: no one, root included, makes a file under it.
fresh output_under_a_file "$cases/assemble_dates_and_refusals/files/leap.txt" "$products/bufkit/gfs3_kdsm.buf"
printf 'a plain file\n' >plain
limited 100000 1 assemble --date 2/29/2024 --output plain/today.txt leap.txt
told ../stderr "wxguide assemble: plain/today.txt could not be written (not a directory); nothing was."
limited 100000 1 extract --columns plain/columns.txt gfs3_kdsm.buf
told ../stderr "wxguide extract: plain/columns.txt cannot be written (not a directory); nothing was written."
limited 100000 1 extract --severe plain/severe.txt gfs3_kdsm.buf
told ../stderr "wxguide extract: plain/severe.txt cannot be written (not a directory); nothing was written."
same_files "gfs3_kdsm.buf leap.txt plain"

# A full standard output: assemble's file and the station list are told lost, exit 1.
if [ -w /dev/full ]; then
    fresh full_standard_output "$cases/assemble_dates_and_refusals/files/leap.txt"
    timeout 20 "$program" assemble --date 2/29/2024 leap.txt >/dev/full 2>../stderr
    status=$?
    [ $status -eq 1 ] || fail "assemble: exit status $status, expected 1"
    told ../stderr "wxguide assemble: standard output could not be written."
    timeout 20 "$program" --stations KBKX=1 stations >/dev/full 2>../stderr
    status=$?
    [ $status -eq 1 ] || fail "stations: exit status $status, expected 1"
    told ../stderr ""  # today the list's loss is told by the exit status alone
    same_files "leap.txt"
fi

[ $failures -eq 0 ] && echo "every writer cut short kept the older file"
exit $((failures > 0))
