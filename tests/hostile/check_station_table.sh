#!/usr/bin/env bash
# Where the station table of --city is looked for, and what may stand there: the table
# beside the program wins over the installed share folder, WXGUIDE_DATA over both; a FIFO,
# a folder or a table with one endless line is refused at once, in bounded memory.
#   check_station_table.sh PROGRAM TABLE
set -u
program=$(realpath "$1")
table=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }

# A table of one station, KBKX, at LAT,LON.
one_station() {
    printf 'id,name,latitude,longitude\nKBKX,Brookings,%s\n' "$1" >"$2"
}
# The distance --city 44,-96 gives KBKX with the table the program finds.
distance() {
    "$inst/bin/wxguide" --stations KBKX --city 44,-96 stations 2>"$work/stderr" |
        awk '{ print $3 }'
}

# An installed copy: bin/wxguide with share/wxguide beside bin.
inst=$work/inst
mkdir -p "$inst/bin" "$inst/share/wxguide"
cp "$program" "$inst/bin/wxguide"
one_station 45,-96 "$inst/bin/stations.csv"              # 111.2 km
one_station 46,-96 "$inst/share/wxguide/stations.csv"    # 222.4 km
mkdir -p "$work/data" && one_station 47,-96 "$work/data/stations.csv"  # 333.6 km

case=beside_the_program_first
[ "$(distance)" = "111.2" ] || fail "distance $(distance), expected 111.2 (the table beside the program)"
case=then_the_share_folder
mv "$inst/bin/stations.csv" "$work/beside.csv"
[ "$(distance)" = "222.4" ] || fail "distance $(distance), expected 222.4 (the share folder's table)"
mv "$work/beside.csv" "$inst/bin/stations.csv"
case=wxguide_data_overrides_both
[ "$(WXGUIDE_DATA=$work/data distance)" = "333.6" ] || fail "WXGUIDE_DATA's table was not used"

# refused KIND MESSAGE: the table at $work/bad/stations.csv is refused within 10 seconds,
# exit 1, with MESSAGE on standard error and nothing on standard output.
refused() {
    case=$1
    local status
    WXGUIDE_DATA=$work/bad timeout 10 "$program" --stations KBKX,KFSD --city 44,-96 stations \
        >"$work/stdout" 2>"$work/stderr"
    status=$?
    [ $status -eq 1 ] || fail "exit status $status, expected 1 (124: it hung)"
    [ ! -s "$work/stdout" ] || fail "standard output: $(head -c 200 "$work/stdout")"
    [ "$(cat "$work/stderr")" = "wxguide: the station table $work/bad/stations.csv cannot be read: $2" ] ||
        fail "standard error: $(head -c 300 "$work/stderr")"
    rm -rf "$work/bad"
}
mkdir -p "$work/bad" && mkfifo "$work/bad/stations.csv"
refused fifo "it is not a plain file"
mkdir -p "$work/bad/stations.csv"
refused folder "it is a folder"
mkdir -p "$work/bad" && ln -s /dev/zero "$work/bad/stations.csv"
refused device "it is not a plain file"
# One line of 1 GiB (a sparse file: no disk is used), read in bounded memory.
mkdir -p "$work/bad" && truncate -s 1G "$work/bad/stations.csv"
# A sanitizer build reserves more address space than any such limit: there, time alone.
limit=unlimited
(ulimit -v 400000 && "$program" --version) >/dev/null 2>&1 && limit=400000
(ulimit -v $limit && refused endless_line "line 1 is longer than 1024 characters" && exit $failures) ||
    failures=$((failures + 1))
# A line put after the table's own lines takes the zone field when the table has one.
zone_field=$(head -n 1 "$table" | grep -q ',utc_offset$' && echo ',')
mkdir -p "$work/bad" && { cat "$table" && printf 'KXXX,"Nowhere",99999,0%s\n' "$zone_field"; } >"$work/bad/stations.csv"
refused latitude_out_of_range "line $(($(wc -l <"$table") + 1)): the latitude 99999 lies outside -90 to 90"

# An id names the files extract writes: one that leaves the folder is refused with its line.
bad_id_table() {
    mkdir -p "$work/bad/run" && { cat "$table" && printf '../ev,"Up a folder",41.5,-93.6%s\n' "$zone_field"; } >"$work/bad/stations.csv"
}
bad_id_line="line $(($(wc -l <"$table") + 1)): the id \"../ev\" is not a station id (four letters or digits)"
bad_id_table
(cd "$work/bad/run" && WXGUIDE_DATA=$work/bad timeout 10 "$program" extract --station ../ev any.grib2) \
    >"$work/stdout" 2>"$work/stderr"
status=$?
case=extract_station_leaving_the_folder
if ! grep -q 'not available' "$work/stderr"; then
    [ $status -eq 1 ] || fail "exit status $status, expected 1"
    grep -qF "$bad_id_line" "$work/stderr" || fail "standard error: $(head -c 300 "$work/stderr")"
fi
[ -z "$(find "$work/bad" -name '*_columns.txt' -o -name '*_severe.txt')" ] || fail "a file was written"
refused id_leaving_the_folder "$bad_id_line"

[ $failures -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
