#!/usr/bin/env bash
# Option 6 end to end on GFS GRIB2 output: 29 files of one hour each, made from the hour-120
# sample with the ecCodes tools (each file's instants at its hour, its averages and its
# precipitation bucket over the three hours before), extracted for Des Moines by station id,
# then run: no -9999 in the table, no value missing in the report.
set -eu
wxguide=$1 samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
grib_copy -w stepType=instant "$samples/gfs_2p5deg_f120_fields.grib2" instants.grib2
grib_copy -w stepType!=instant "$samples/gfs_2p5deg_f120_fields.grib2" periods.grib2
files=()
for ((hour = 3; hour <= 87; hour += 3)); do
    grib_set -s stepRange=$hour instants.grib2 i.grib2
    grib_set -s stepRange=$((hour - 3))-$hour periods.grib2 s.grib2
    cat i.grib2 s.grib2 > "gfs_f$hour.grib2"
    files+=("gfs_f$hour.grib2")
done
"$wxguide" extract --station KDSM "${files[@]}" > out.txt 2> err.txt
severe=KDSM_gfs_2011011012_severe.txt
grep -q "^Wrote KDSM_gfs_2011011012_columns.txt and $severe: 29 rows, forecast hours 3 to 87" out.txt
if grep -q -- -9999 $severe KDSM_gfs_2011011012_columns.txt; then
    echo "FAIL: -9999 in the extracted files" >&2; cat $severe >&2; exit 1
fi
# Standard error holds only the grid point read, farther than half the 2.5-degree grid's length.
[ "$(cat err.txt)" = "wxguide extract: KDSM 41.53N 93.67W is read at the grid point 42.50N 92.50W,\
 144.4 km away; grid spacing 2.5 deg (278.0 km).
wxguide extract: that grid point is farther from KDSM than half a grid length (139.0 km): the\
 values read there may not stand for KDSM." ] ||
    { echo "FAIL: standard error:" >&2; cat err.txt >&2; exit 1; }
[ "$(grep -c '^|' $severe)" -eq 29 ] || { echo "FAIL: not 29 rows" >&2; exit 1; }
"$wxguide" run 6 $severe > run.txt
report=${severe%.txt}.out
[ -f $report ] || { echo "FAIL: no report" >&2; exit 1; }
[ "$(wc -l < $report)" -eq 30 ] || { echo "FAIL: the report is not 30 lines" >&2; exit 1; }
if grep -q -- '-9999\|-17995' $report; then echo "FAIL: missing values in the report" >&2; exit 1; fi
# Every row the same hour-120 fields: the lifted indices 11 and 23.3 at every hour.
[ "$(awk 'NR > 1 && $2 == 11 && $3 == 23.3' $report | wc -l)" -eq 29 ] ||
    { echo "FAIL: the report's lifted indices" >&2; head -3 $report >&2; exit 1; }
# A wrong run is refused; the Windows build's line is checked there.
if "$wxguide" extract --station KDSM --run 2011011000 "${files[@]}" 2> refused.txt; then
    echo "FAIL: a run not in the files was taken" >&2; exit 1
fi
grep -q 'no message of the run 2011011000; nothing was written' refused.txt
# An output named as one of the inputs is refused, and that input kept.
cp gfs_f3.grib2 kept.grib2
if "$wxguide" extract --station KDSM --columns ./gfs_f3.grib2 "${files[@]}" 2> input.txt; then
    echo "FAIL: an input was taken as the column file" >&2; exit 1
fi
grep -q '^wxguide extract: ./gfs_f3.grib2 is the input gfs_f3.grib2; nothing was written.$' input.txt ||
    { echo "FAIL: the refusal of an input as output:" >&2; cat input.txt >&2; exit 1; }
cmp -s kept.grib2 gfs_f3.grib2 || { echo "FAIL: the input was changed" >&2; exit 1; }
# A place is read as --city reads one, and its fault names --point.
if "$wxguide" extract --point 99,-93 "${files[@]}" 2> place.txt; then
    echo "FAIL: a latitude of 99 was taken" >&2; exit 1
fi
grep -q '^wxguide extract: --point: the latitude 99 lies outside -90 to 90$' place.txt ||
    { echo "FAIL: the refusal of a place:" >&2; cat place.txt >&2; exit 1; }
echo "option 6 from GFS GRIB2: 29 rows, no missing value"
