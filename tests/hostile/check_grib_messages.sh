#!/usr/bin/env bash
# Hostile GRIB2 input for extract, made here from the real samples with the ecCodes tools
# and a few byte edits: lengths and section numbers that crash or hang ecCodes when it
# is handed them unchecked, grids declared huge in a few bytes, a thousand accumulations,
# sixty thousand copies of one message, and a pipe, a device and a folder. Each hostile
# file is refused on one line with status 1, within a generous time (a hang check); the
# peak memory on the declared-huge grid and at the grid bound is measured (left
# unmeasured in a sanitizer build, whose shadow memory dwarfs it, and where
# /usr/bin/time is missing).
#   check_grib_messages.sh PROGRAM SAMPLES SEEDS [sanitized]
# SEEDS is fuzz/grib, the inputs the fuzzing found.
set -u
program=$(realpath "$1")
samples=$(realpath "$2")
seeds=$(realpath "$3")
sanitized=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }

# put32 FILE OFFSET VALUE: VALUE as four bytes, most significant first, at OFFSET.
put32() {
    printf "$(printf '%08x' "$3" | sed 's/../\\x&/g')" |
        dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
# put8 FILE OFFSET VALUE: one byte.
put8() { printf "\\x$(printf '%02x' "$3")" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
# section_offset FILE N: where the first section N of the file's first message begins.
section_offset() {
    local offset=16 a b c d number
    while :; do
        read -r a b c d number < <(od -An -tu1 -j "$offset" -N5 "$1")
        [ -n "$number" ] || return 1
        [ "$number" = "$2" ] && { echo "$offset"; return; }
        offset=$((offset + (a << 24 | b << 16 | c << 8 | d)))
    done
}

# refused NAME MESSAGE [OPTIONS...]: extract at a point of NAME ends within the time limit
# with status 1, MESSAGE its one line on standard error, nothing written.
refused() {
    case=$1
    local expected=$2
    shift 2
    timeout 60 "$program" extract --point 41.5,-93.6 "$@" "$case" >stdout 2>stderr
    status=$?
    [ $status -eq 1 ] || fail "exit status $status, expected 1 (124: it hung)"
    [ "$(cat stderr)" = "wxguide extract: $expected" ] ||
        fail "standard error: $(head -c 400 stderr)"
    [ -s stdout ] && fail "standard output: $(head -c 100 stdout)"
    ls ./*_columns.txt ./*_severe.txt >/dev/null 2>&1 && fail "a file was written"
    rm -f ./*_columns.txt ./*_severe.txt
}

# peak_within KIB COMMAND...: runs COMMAND, and where memory is measured, its peak in KiB
# must stay within KIB.
peak_within() {
    local bound=$1
    shift
    if [ -n "$sanitized" ] || [ ! -x /usr/bin/time ]; then
        timeout 60 "$@" >stdout 2>stderr
        return
    fi
    timeout 60 /usr/bin/time -f %M -o rss "$@" >stdout 2>stderr
    local status=$?
    local peak
    peak=$(tail -n 1 rss)
    case $peak in
    '' | *[!0-9]*) fail "no peak measured: $peak (status $status)" ;;
    *) [ "$peak" -le "$bound" ] || fail "peak memory $peak KiB, more than $bound KiB" ;;
    esac
    echo "$case: peak memory $peak KiB"
    return $status
}

# The base messages: 2 m temperature of the 2.5 degree sample, and the 0-3 h precipitation
# total of the 1 degree sample made a constant field of 203 bytes.
grib_copy -w shortName=2t "$samples/gfs_2p5deg_f120_fields.grib2" t2.grib2
grib_copy -w startStep=0,endStep=3 "$samples/gfs_1deg_apcp_0_24.grib2" apcp.grib2
grib_set -r -s packingType=grid_simple apcp.grib2 simple.grib2
grib_set -d 1.5 simple.grib2 constant.grib2
[ "$(stat -c %s constant.grib2)" -eq 203 ] || { echo "FAIL: the constant message is not 203 bytes"; exit 1; }
past="runs past the message's end; nothing was written."

# Lengths and numbers ecCodes trusts.
for section in 4 5 6 7; do
    cp t2.grib2 "length$section.grib2"
    put32 "length$section.grib2" "$(section_offset t2.grib2 "$section")" 0xffffff00
    refused "length$section.grib2" \
        "length$section.grib2: message 1: section $section's length 4294967040 $past"
done
for section in 5 6 7; do
    cp t2.grib2 "renumbered$section.grib2"
    put8 "renumbered$section.grib2" "$(($(section_offset t2.grib2 "$section") + 4))" 99
    refused "renumbered$section.grib2" "renumbered$section.grib2: message 1: section 99 follows\
 section $((section - 1)), where edition 2 allows section $section; nothing was written."
done
cp t2.grib2 length1.grib2
put32 length1.grib2 16 0
refused length1.grib2 "length1.grib2: message 1: section 1's length 0 is shorter than its fixed\
 part of 21 bytes; nothing was written."
cp t2.grib2 edition1.grib2
put8 edition1.grib2 7 1
refused edition1.grib2 "edition1.grib2: message 1: a GRIB edition 1 message; wxguide reads GRIB2;\
 nothing was written."
# A message cut short, after a whole one.
{ cat t2.grib2; head -c 500 t2.grib2; } >cut.grib2
refused cut.grib2 "cut.grib2: message 2: its length $(stat -c %s t2.grib2) runs past the file's\
 end; nothing was written."
{ cat t2.grib2; printf 'GRIB\000\000\000\002\377\377\377\377\377\377\377\377'; } >long.grib2
refused long.grib2 "long.grib2: message 2: its length 18446744073709551615 is over the 33554432\
 bytes wxguide reads in a message; nothing was written."

# An input the fuzzing found, on which a check inside ecCodes fails: one line, not an
# abort. The library's words name its own source, which differs between its versions.
case=library_assertion
timeout 60 "$program" extract --point 41.5,-93.6 "$seeds/library-assertion-g22order" \
    >stdout 2>stderr
[ $? -eq 1 ] || fail "exit status, expected 1 (124: it hung, 134: it aborted)"
[ "$(wc -l <stderr)" -eq 1 ] || fail "not one line: $(head -c 400 stderr)"
[[ "$(cat stderr)" == "wxguide extract: $seeds/library-assertion-g22order: message 1: ecCodes"\
" failed a check of its own ("*"); nothing was written." ]] || fail "$(head -c 400 stderr)"
ls ./*_columns.txt ./*_severe.txt >/dev/null 2>&1 && fail "a file was written"

# Grids declared huge by a constant field of a few bytes: refused from their keys.
grid3=$(section_offset constant.grib2 3)
grid5=$(section_offset constant.grib2 5)
# declare FILE NI NJ: the constant field's grid made NI x NJ points.
declare_grid() {
    cp constant.grib2 "$1"
    put32 "$1" $((grid3 + 6)) $(($2 * $3))
    put32 "$1" $((grid3 + 30)) "$2"
    put32 "$1" $((grid3 + 34)) "$3"
    put32 "$1" $((grid5 + 5)) $(($2 * $3))
}
declare_grid grid4000.grib2 4000 4000
refused grid4000.grib2 "grid4000.grib2: message 1: a grid of 4000 x 4000 points, more than the\
 4000000 wxguide reads in a message; nothing was written."
declare_grid edge.grib2 4000001 1
refused edge.grib2 "edge.grib2: message 1: a grid of 4000001 x 1 points, more than the 4000000\
 wxguide reads in a message; nothing was written."
declare_grid grid40000.grib2 40000 40000
case=grid40000.grib2
peak_within 32768 "$program" extract --point 41.5,-93.6 grid40000.grib2
[ $? -eq 1 ] || fail "exit status, expected 1"
grep -q "^wxguide extract: grid40000.grib2: message 1: a grid of 40000 x 40000 points" stderr ||
    fail "standard error: $(head -c 300 stderr)"
# At the bound, 2000 x 2000 points of 0.01 degree from 60N 0E: read, within the README's
# figure for a latitude-longitude grid (16 MiB and 8 bytes a point, with room).
declare_grid bound.grib2 2000 2000
grib_set -s latitudeOfFirstGridPointInDegrees=60,longitudeOfFirstGridPointInDegrees=0,\
latitudeOfLastGridPointInDegrees=40.01,longitudeOfLastGridPointInDegrees=19.99,\
iDirectionIncrementInDegrees=0.01,jDirectionIncrementInDegrees=0.01 bound.grib2 at_bound.grib2
case=at_bound.grib2
peak_within 65536 "$program" extract --point 50,10 at_bound.grib2 ||
    fail "not read: $(head -c 300 stderr)"
grep -q '^|    3 |.*   1.50 ' 50.00N_10.00E_grib2_2022062700_columns.txt ||
    fail "the precipitation of the constant field"
rm -f ./*_columns.txt ./*_severe.txt

# A thousand accumulations of an hour each, 0-1 to 999-1000, in one file: read in time.
# forecastTime and lengthOfTimeRange of product template 4.8 sit 18 and 49 bytes into
# section 4.
product=$(section_offset constant.grib2 4)
head -c $((product + 18)) constant.grib2 >start.part
tail -c +$((product + 23)) constant.grib2 | head -c 27 >middle.part
tail -c +$((product + 54)) constant.grib2 >end.part
for ((hour = 0; hour < 1000; hour++)); do
    cat start.part
    printf "$(printf '%08x' "$hour" | sed 's/../\\x&/g')"
    cat middle.part
    printf '\x00\x00\x00\x01'
    cat end.part
done >hours.grib2
case=thousand_accumulations
timeout 60 "$program" extract --point 41.5,-93.6 --step 1 hours.grib2 >stdout 2>stderr
status=$?
[ $status -eq 0 ] || fail "exit status $status, expected 0 (124: it hung): $(head -c 300 stderr)"
grep -q '^Wrote 41.50N_93.60W_gfs_2022062700_columns.txt and 41.50N_93.60W_gfs_2022062700_severe.txt:'\
' 1000 rows, forecast hours 1 to 1000' stdout || fail "standard output: $(head -c 300 stdout)"
[ "$(grep -c '^|.*   1.50 ' 41.50N_93.60W_gfs_2022062700_columns.txt)" -eq 1000 ] ||
    fail "not 1000 rows of 1.50 mm"
rm -f ./*_columns.txt ./*_severe.txt

# Copies of one message: a wanted field is in the file twice at once (65,536 copies); a
# field wxguide does not read costs no memory for each copy (4,096: ecCodes takes most of
# a millisecond over each).
copies() {
    cp "$1" "$2"
    for ((i = 0; i < $3; i++)); do cat "$2" "$2" >twice.part && mv twice.part "$2"; done
}
copies constant.grib2 copies.grib2 16
refused copies.grib2 "copies.grib2: message 2: APCP of hour 3 is in the file twice; nothing was\
 written."
grib_set -s parameterNumber=200 constant.grib2 other.grib2
copies other.grib2 other_copies.grib2 12
# The program's own start (its libraries) is measured on one copy: 4,096 copies may add
# no more than 4 MiB to it.
case=other_one_copy
peak_within 65536 "$program" extract --point 41.5,-93.6 other.grib2
one_copy=$(tail -n 1 rss 2>/dev/null || echo 16384)
case $one_copy in '' | *[!0-9]*) one_copy=16384 ;; esac
case=other_copies
peak_within $((one_copy + 4096)) "$program" extract --point 41.5,-93.6 other_copies.grib2
[ $? -eq 1 ] || fail "exit status, expected 1"
grep -q 'the files hold no forecast hour' stderr || fail "standard error: $(head -c 300 stderr)"

# Bytes before, between and after messages are passed over.
case=bytes_between_messages
grib_copy -w startStep=0,endStep=6 "$samples/gfs_1deg_apcp_0_24.grib2" apcp6.grib2
# The second message's GRIB crosses the 64 KiB blocks the search reads from the first
# message's end.
{
    printf 'junk'
    cat apcp.grib2
    head -c 65534 /dev/zero | tr '\0' x
    cat apcp6.grib2
    printf 'tail'
} >junk.grib2
cat apcp.grib2 apcp6.grib2 >clean.grib2
timeout 60 "$program" extract --point 41.5,-93.6 --columns junk_columns.txt junk.grib2 \
    >stdout 2>stderr || fail "not read: $(head -c 300 stderr)"
timeout 60 "$program" extract --point 41.5,-93.6 --columns clean_columns.txt clean.grib2 \
    >/dev/null 2>&1
cmp -s junk_columns.txt clean_columns.txt || fail "the columns differ from those without junk"
rm -f ./*_columns.txt ./*_severe.txt

# What is no plain file, refused at once, as a profile is.
mkfifo pipe.grib2
mkdir folder.grib2
plain="cannot be opened as a plain file; nothing was written."
refused pipe.grib2 "pipe.grib2 $plain"
refused /dev/zero "/dev/zero $plain"
refused folder.grib2 "folder.grib2 $plain"
refused pipe.grib2 "pipe.grib2 $plain" --run 2022062700 --step 6
case=pipe_after_a_file
timeout 60 "$program" extract --point 41.5,-93.6 t2.grib2 pipe.grib2 >stdout 2>stderr
[ $? -eq 1 ] || fail "exit status, expected 1 (124: it hung)"
[ "$(cat stderr)" = "wxguide extract: pipe.grib2 $plain" ] || fail "$(head -c 300 stderr)"

[ $failures -eq 0 ] && echo "all hostile GRIB2 checks passed"
exit $((failures > 0))
