#!/usr/bin/env bash
# Two outputs of one run, or an output and the data, named differently but denoting one
# file: extract's column and severe files spelled ./x.txt, absolutely, through sub/.. or a
# link, and the files beside a report reaching the data or the report through a link. Each
# is refused before anything is written, and every file that stood there is kept.
#   check_outputs_by_identity.sh PROGRAM PRODUCTS_DIR EXAMPLES_DIR
set -u
program=$(realpath "$1")
products=$(realpath "$2")
examples=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }
fresh() {  # a clean folder for CASE holding FILES
    case=$1
    shift
    rm -rf "$work/run" && mkdir "$work/run" && cd "$work/run" || exit 1
    cp "$@" .
}
# runs STATUS ARGS...: the program in the folder, its output in ../stdout and ../stderr.
runs() {
    local expected=$1 status
    shift
    timeout 20 "$program" "$@" >../stdout 2>../stderr
    status=$?
    [ $status -eq "$expected" ] || fail "exit status $status, expected $expected"
}
told() {  # FILE TEXT: FILE holds exactly TEXT
    [ "$(cat "$1")" = "$2" ] || fail "$1 holds: $(head -c 300 "$1")"
}
same_files() {  # EXPECTED-LIST: the folder holds exactly these names
    local actual
    actual=$(ls -A | tr '\n' ' ')
    [ "$actual" = "$1 " ] || fail "folder holds [$actual], expected [$1 ]"
}

# The severe file spelled another way than the column file: refused, nothing written.
for severe in ./x.txt "$work/run/x.txt" sub/../x.txt; do
    fresh "extract --severe $severe" "$products/bufkit/gfs3_kdsm.buf"
    mkdir sub
    runs 2 extract --columns x.txt --severe "$severe" gfs3_kdsm.buf
    told ../stderr "wxguide extract: the column file and the severe file need two names, not x.txt twice
Try 'wxguide --help'."
    told ../stdout ""
    same_files "gfs3_kdsm.buf sub"
done
# Through a link to an older column file, which is kept.
fresh "extract --severe link" "$products/bufkit/gfs3_kdsm.buf"
printf 'the older columns\n' >x.txt
ln -s x.txt y.txt
runs 2 extract --columns x.txt --severe y.txt gfs3_kdsm.buf
told ../stderr "wxguide extract: the column file and the severe file need two names, not x.txt twice
Try 'wxguide --help'."
told x.txt "the older columns"
same_files "gfs3_kdsm.buf x.txt y.txt"
# Two names in two folders stay two files.
fresh "extract --severe sub/x.txt" "$products/bufkit/gfs3_kdsm.buf"
mkdir sub
runs 0 extract --columns x.txt --severe sub/x.txt gfs3_kdsm.buf
[ -s x.txt ] && [ -s sub/x.txt ] || fail "both files were not written"

# The data reached through a link named like its spreadsheet or picture: the data is kept,
# the report written, the side file refused.
for ending in csv svg; do
    fresh "data linked from model.$ending" "$examples/gfs.txt"
    mv gfs.txt "model.$ending"
    ln -s "model.$ending" model.txt
    cp "model.$ending" ../data
    runs 1 --csv --plot run 2 model.txt
    told ../stderr "You have a valid file.
The file model.$ending would overwrite the data file model.txt, so it was not written.
model.out: model GFS, place KFSD SIOUX FALLS SD, run 12Z 14 MAY 2024."
    cmp -s "model.$ending" ../data || fail "the data model.$ending was replaced"
    [ -s model.out ] || fail "the report was not written"
done

# A picture name that links to the report: the report stays the report.
fresh "picture linked to the report" "$examples/gfs.txt"
ln -s gfs.out gfs.svg
runs 1 --plot run 2 gfs.txt
told ../stderr "You have a valid file.
The file gfs.svg would overwrite the report gfs.out, so it was not written.
gfs.out: model GFS, place KFSD SIOUX FALLS SD, run 12Z 14 MAY 2024."
head -n 3 gfs.out | grep -q . || fail "the report is missing"
grep -q '<svg' gfs.out && fail "the report was replaced by the picture"
same_files "gfs.out gfs.svg gfs.txt"

[ $failures -eq 0 ] && echo "no output replaced another output or the data"
exit $((failures > 0))
