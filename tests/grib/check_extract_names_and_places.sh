#!/usr/bin/env bash
# Two extracts at one station never share a name: GFS output of two runs, and HRRR and
# RAP output made from the GFS sample with the ecCodes tools (its fields on HRRR's 3 km
# and RAP's 13 km Lambert conformal grids, under their generating processes), all at
# KDSM. Every file survives the others, its titles name its model, and standard error
# names the grid point read: near, far past a grid's edge, and in the east for a
# longitude given without its minus.
set -eu
wxguide=$1 samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $1" >&2; exit 1; }
sample=$samples/gfs_2p5deg_f120_fields.grib2
cp "$sample" gfs12.grib2
grib_set -s dataTime=1800 gfs12.grib2 gfs18.grib2
grib_set -s gridDefinitionTemplateNumber=30 gfs12.grib2 lambert.grib2
# lambert FILE PROCESS KM LAT LON: the sample's 144 x 73 points, KM apart from LAT, LON.
lambert() {
    grib_set -s Nx=144,Ny=73,latitudeOfFirstGridPointInDegrees=$4,\
longitudeOfFirstGridPointInDegrees=$5,LoVInDegrees=262.5,Latin1InDegrees=38.5,\
Latin2InDegrees=38.5,LaDInDegrees=38.5,DxInMetres=$(($3 * 1000)),DyInMetres=$(($3 * 1000)),\
generatingProcessIdentifier=$2 lambert.grib2 "$1"
}
lambert hrrr.grib2 83 3 40.5 265.5
lambert rap.grib2 105 13 38 263
lambert nam.grib2 84 12 38 263

for input in gfs12 gfs18 hrrr rap nam; do
    "$wxguide" extract --station KDSM $input.grib2 >$input.out 2>$input.err ||
        fail "$input: $(cat $input.err)"
done
# Each pair of files named after the place, the model and the run; all ten are there.
for stem in KDSM_gfs_2011011012 KDSM_gfs_2011011018 KDSM_hrrr_2011011012 KDSM_rap_2011011012 \
    KDSM_grib2_2011011012; do
    for kind in columns severe; do
        [ -s ${stem}_$kind.txt ] || fail "no ${stem}_$kind.txt: $(ls)"
    done
done
[ "$(ls ./*_columns.txt ./*_severe.txt | wc -l)" -eq 10 ] || fail "not ten files: $(ls)"
grep -qx 'Wrote KDSM_hrrr_2011011012_columns.txt and KDSM_hrrr_2011011012_severe.txt: 1 row,'\
' forecast hours 120 to 120.' hrrr.out || fail "hrrr's summary: $(cat hrrr.out)"
# The titles name the model, the place with its hemispheres, and the run.
title() { head -n 1 "$1" | tr -s ' '; }
[ "$(title KDSM_gfs_2011011018_severe.txt)" = "SEVERE WEATHER PARAMETERS GFS KDSM 41.53N 93.67W" ] ||
    fail "GFS title: $(title KDSM_gfs_2011011018_severe.txt)"
grep -q '^RUN 18Z 10 JAN 2011 ' KDSM_gfs_2011011018_columns.txt || fail "the 18Z run's title"
for model in hrrr rap grib2; do
    expected="MODEL COLUMN FORECAST $(echo $model | tr a-z A-Z) KDSM 41.53N 93.67W"
    [ "$(title KDSM_${model}_2011011012_columns.txt)" = "$expected" ] ||
        fail "$model title: $(title KDSM_${model}_2011011012_columns.txt)"
done
# The two GFS runs hold the same values under different names; HRRR's differ.
cmp -s <(tail -n +3 KDSM_gfs_2011011012_columns.txt) <(tail -n +3 KDSM_gfs_2011011018_columns.txt) ||
    fail "the two runs' rows differ"

# The grid point read, one line each when it is near; 2.5-degree GFS at KDSM is far.
[ "$(head -n 1 gfs12.err)" = "wxguide extract: KDSM 41.53N 93.67W is read at the grid point 42.50N 92.50W,\
 144.4 km away; grid spacing 2.5 deg (278.0 km)." ] || fail "gfs12's line: $(cat gfs12.err)"
[ "$(sed -n 2p gfs12.err)" = "wxguide extract: that grid point is farther from KDSM than half a\
 grid length (139.0 km): the values read there may not stand for KDSM." ] ||
    fail "gfs12's far line: $(cat gfs12.err)"
if grep -q 'that grid point is farther' hrrr.err rap.err; then
    fail "a near point told as far"
fi
head -n 1 hrrr.err >hrrr.line
grep -Eqx 'wxguide extract: KDSM 41.53N 93.67W is read at the grid point 41.5[0-9]N 93.6[0-9]W,'\
' [01]\.[0-9] km away; grid spacing 3.0 km.' hrrr.line || fail "hrrr's line: $(cat hrrr.err)"
grep -Eq 'grid spacing 13.0 km\.$' rap.err || fail "rap's line: $(cat rap.err)"

# 3.3 km south of HRRR's first point, past its edge: read (within 1.5 grid lengths) and told.
"$wxguide" extract --point 40.47,-94.5 hrrr.grib2 >edge.out 2>edge.err || fail "$(cat edge.err)"
[ "$(sed -n 2p edge.err)" = "wxguide extract: that grid point is farther from POINT than half a\
 grid length (1.5 km): the values read there may not stand for POINT." ] ||
    fail "the far line: $(cat edge.err)"
grep -q '^wxguide extract: POINT 40.47N 94.50W is read at the grid point 40.50N 94.50W, 3.3 km away;' \
    edge.err || fail "the edge's point: $(cat edge.err)"
[ -s 40.47N_94.50W_hrrr_2011011012_columns.txt ] || fail "the point's files: $(ls)"

# A west longitude given without its minus is read in the east, and every line says so.
"$wxguide" extract --point 41.53,93.65 gfs12.grib2 >east.out 2>east.err || fail "$(cat east.err)"
grep -q '^wxguide extract: POINT 41.53N 93.65E is read at the grid point 42.50N 92.50E,' east.err ||
    fail "the east's line: $(cat east.err)"
[ "$(title 41.53N_93.65E_gfs_2011011012_columns.txt)" = "MODEL COLUMN FORECAST GFS POINT 41.53N 93.65E" ] ||
    fail "the east's title"
echo "names and places: ten files of five extracts at KDSM, each grid point told"
