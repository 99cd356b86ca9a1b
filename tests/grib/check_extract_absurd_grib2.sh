#!/usr/bin/env bash
# GRIB2 values no weather gives, made with the ecCodes tools from the hour-120 sample: a 2 m
# temperature of 1e30 K and a 10 m wind component of -1e30 m/s. Both are left out with a line
# each, the rest of the row is written, and no inf, nan or cut number reaches the files.
set -eu
wxguide=$1 samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
sample=$samples/gfs_2p5deg_f120_fields.grib2
grib_copy -w shortName=2t "$sample" t.grib2
grib_copy -w shortName=10u "$sample" u.grib2
grib_copy -w 'shortName!=2t,shortName!=10u' "$sample" rest.grib2
for field in t u; do
    grib_set -s packingType=grid_ieee $field.grib2 ieee.grib2 2>/dev/null
    grib_set -d "$([ $field = t ] && echo 1e30 || echo -1e30)" ieee.grib2 $field.absurd.grib2
done
cat rest.grib2 t.absurd.grib2 u.absurd.grib2 > absurd.grib2
"$wxguide" extract --point 41.5,-93.6 absurd.grib2 > out.txt 2> err.txt
stem=41.50N_93.60W_gfs_2011011012
grep -qx "Wrote ${stem}_columns.txt and ${stem}_severe.txt: 1 row, forecast hours 120 to 120." out.txt
grep -qx 'wxguide extract: TMP 2 m 1e+30 in the message of hour 120 lies outside 123.15 to 353.15; it is taken as missing.' err.txt ||
    { echo "FAIL: the 2 m temperature's line:" >&2; cat err.txt >&2; exit 1; }
grep -qx 'wxguide extract: UGRD 10 m -1e+30 in the message of hour 120 lies outside -200 to 200; it is taken as missing.' err.txt ||
    { echo "FAIL: the wind's line:" >&2; cat err.txt >&2; exit 1; }
row=$(grep '^|' ${stem}_columns.txt)
# The pressure is kept; the temperature and both wind columns are missing.
[ "$row" = "|  120 | 1013.0 -9999  -2.3  -6.6 -19.2  5393   98   0.20   98 -9999 -9999" ] ||
    { echo "FAIL: the row: $row" >&2; exit 1; }
if grep -qi 'inf\|nan' ${stem}_columns.txt ${stem}_severe.txt; then
    echo "FAIL: inf or nan written" >&2; exit 1
fi
echo "absurd GRIB2 values: left out and told"
