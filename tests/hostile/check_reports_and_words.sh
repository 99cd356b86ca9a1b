#!/usr/bin/env bash
# What a hostile or careless user can put where a report goes, or type: a pipe or a link
# at the report name, a write cut short by the file size limit, a huge typed word. Each
# case runs the real program in a fresh folder and checks the older files' bytes.
#   check_reports_and_words.sh PROGRAM EXAMPLES_DIR CASES_DIR
set -u
program=$(realpath "$1")
examples=$(realpath "$2")
cases=$(realpath "$3")
work=$(mktemp -d)
trap 'exec 3>&- 2>/dev/null; kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
pid=""
failures=0

fail() { echo "FAIL [$case]: $1"; failures=$((failures + 1)); }
fresh() {  # a clean folder holding the bundled gfs.txt
    case=$1
    rm -rf "$work/run" && mkdir "$work/run" && cd "$work/run" || exit 1
    cp "$examples/gfs.txt" .
}
# run INPUT [BLOCKS [STATUS]]: the program on INPUT (printf format), with its files
# limited to BLOCKS of 1024 bytes if given; its transcript in ../stdout, through a pipe,
# which the limit does not touch. It must exit with STATUS (0 unless given).
run() {
    # shellcheck disable=SC2059
    printf "$1" | (ulimit -f "${2:-unlimited}" && exec timeout 20 "$program" 2>../stderr) |
        cat >../stdout
    status=${PIPESTATUS[1]}
    [ $status -eq "${3:-0}" ] || fail "exit status $status, expected ${3:-0} (124: it hung)"
    [ -s ../stderr ] && fail "standard error: $(head -c 300 ../stderr)"
}
same_files() {  # EXPECTED-LIST: the folder holds exactly these names
    local actual
    actual=$(ls -A | tr '\n' ' ')
    [ "$actual" = "$1 " ] || fail "folder holds [$actual], expected [$1 ]"
}

# The transcript and report of an undisturbed option 2 run on gfs.txt.
fresh reference
run '2\ngfs.txt\n7\n'
cp gfs.out ../reference.out
cp ../stdout ../reference.stdout
cmp -s ../reference.out "$cases/table_bundled_examples/expected/gfs.out" ||
    fail "the undisturbed report differs from the bundled case's"

fresh fifo_at_report_name
mkfifo gfs.out
run '2\ngfs.txt\n7\n' unlimited 1
cmp -s ../stdout "$cases/table_report_not_written/stdout" || fail "transcript: $(cat ../stdout)"
[ -p gfs.out ] || fail "the pipe was replaced"
same_files "gfs.out gfs.txt"

fresh link_at_report_name
printf 'precious bytes\n' >precious.dat
ln -s precious.dat gfs.out
ln -s missing/nowhere.dat gfs.ou  # not a report name: a control that nothing follows it
run '2\ngfs.txt\n7\n'
cmp -s ../stdout ../reference.stdout || fail "transcript differs from an undisturbed run"
[ -L gfs.out ] && fail "the link is still there"
cmp -s gfs.out ../reference.out || fail "the report is not the undisturbed report"
[ "$(cat precious.dat)" = "precious bytes" ] || fail "the link's target was changed"
same_files "gfs.ou gfs.out gfs.txt precious.dat"

fresh link_to_missing_path
ln -s missing.dat gfs.out
run '2\ngfs.txt\n7\n'
[ -e missing.dat ] && fail "a file was created where the link pointed"
cmp -s gfs.out ../reference.out || fail "the report is not the undisturbed report"

fresh write_fails_part_way
printf 'the older report\n' >gfs.out
# One block: the new report is cut off part way; the older one is already there.
run '2\ngfs.txt\n7\n' 1 1
grep -qxF "The report file gfs.out could not be written (file too large)." ../stdout ||
    fail "no message naming the report: $(cat ../stdout)"
told=$(grep -c "could not be written" ../stdout)
[ "$told" = 1 ] || fail "the failure is told $told times"
[ "$(cat gfs.out)" = "the older report" ] || fail "the older report was changed"
same_files "gfs.out gfs.txt"

fresh nul_in_file_name
run '2\ngfs.txt\0\0\0\n7\n'
grep -qxF "Please enter the name of the file with the .txt extension: The file name you typed holds a control character and cannot name a file." ../stdout ||
    fail "no refusal: $(cat -v ../stdout)"
same_files "gfs.txt"

# A 100 MB option, then a 100 MB file name: the program's peak memory stays small, and
# the echo of the option keeps only the start of the word.
fresh huge_typed_words
mkfifo typed
"$program" <typed >../stdout 2>../stderr &
pid=$!
exec 3>typed
wait_for_line() {  # count of lines matching TEXT to wait for
    for _ in $(seq 1 300); do
        [ "$(grep -c "$2" ../stdout)" -ge "$1" ] && return 0
        sleep 0.1
    done
    fail "the program did not answer: $(tail -c 300 ../stdout)"
}
peak_kib() { awk '/^VmHWM/ {print $2}' "/proc/$pid/status"; }
# Measured once the menu is shown: before that the process may still be starting up (a
# sanitizer's runtime maps megabytes), which is no growth that a typed word caused.
wait_for_line 1 "Please enter an option!"
start_kib=$(peak_kib)
{ head -c 100000000 /dev/zero | tr '\0' 1; echo; } >&3
wait_for_line 1 "Illegal option was entered"
option_kib=$(peak_kib)
{ echo 2; head -c 100000000 /dev/zero | tr '\0' a; echo; } >&3
wait_for_line 1 "wich does not exist"
name_kib=$(peak_kib)
cp "$examples/bulletins.txt" .
{ echo 1; echo bulletins.txt; head -c 100000000 /dev/zero | tr '\0' 5; echo; } >&3
wait_for_line 1 "That is not a number"
ratio_kib=$(peak_kib)
echo 0.6 >&3
wait_for_line 1 "The AVNratio value then has to be: 0.4"
echo 7 >&3
exec 3>&-
wait "$pid"
status=$?
[ $status -eq 0 ] || fail "exit status $status"
for peak in "$option_kib" "$name_kib" "$ratio_kib"; do
    # 100 MB kept whole would add at least 97656 KiB to the peak.
    [ $((peak - start_kib)) -lt 16384 ] || fail "peak memory grew from $start_kib to $peak KiB"
done
echoed=$(sed -n 9p ../stdout)
[ "${#echoed}" -eq 4096 ] || fail "the option echo holds ${#echoed} characters"
[ "$(wc -c <../stdout)" -lt 20000 ] || fail "the transcript holds $(wc -c <../stdout) bytes"
rm typed
same_files "bulletins.out bulletins.txt gfs.txt"

# Hostile data files: each run ends with its message and writes no report.
fresh hostile_data_files
: >empty.txt
printf ' \t\n\r\n  \n' >blank.txt
head -c 100000 /dev/zero >nul.txt
head -c 100000 /dev/urandom >random.txt
head -c 16777216 /dev/zero | tr '\0' x >noblank.txt
for name in empty blank nul random noblank; do
    case=hostile_data_files/$name
    run "1\n$name.txt\n0.5\n2\n$name.txt\n6\n$name.txt\n7\n"
    [ "$(grep -c "Your file is invalid.\|No FHR marker was found" ../stdout)" = 3 ] ||
        fail "not three refusals: $(grep "file" ../stdout)"
    [ -e "$name.out" ] && fail "a report was written"
done

# Other line ends give the same report as line feeds.
fresh line_ends
sed 's/$/\r/' gfs.txt >crlf.txt
tr '\n' '\r' <gfs.txt >cr.txt
{ printf '\357\273\277' && cat gfs.txt; } >bom.txt
for name in crlf cr bom; do
    case=line_ends/$name
    run "2\n$name.txt\n7\n"
    cmp -s "$name.out" ../reference.out || fail "the report differs from the line-feed one"
done

# A console that takes nothing: the report is still written whole, and the failed console
# is no success (exit status 1). --help and --version fail the same way.
fresh console_closed_or_full
for console in closed full; do
    case=console_closed_or_full/$console
    rm -f gfs.out
    if [ $console = closed ]; then
        printf '2\ngfs.txt\n7\n' | timeout 20 "$program" >&- 2>../stderr
    else
        printf '2\ngfs.txt\n7\n' | timeout 20 "$program" >/dev/full 2>../stderr
    fi
    status=$?
    [ $status -eq 1 ] || fail "exit status $status, expected 1"
    for option in --help --version; do
        if [ $console = closed ]; then
            "$program" $option >&- 2>/dev/null
        else
            "$program" $option >/dev/full 2>/dev/null
        fi
        option_status=$?
        [ $option_status -eq 1 ] || fail "$option: exit status $option_status, expected 1"
    done
    cmp -s gfs.out ../reference.out || fail "the report differs from the undisturbed one"
done

# A reader that is gone before the program starts: the menu's console writes fail, but
# the report is written all the same, no temporary file is left, standard error says so
# once and the exit status is 1.
fresh broken_pipe_reference
cp "$examples/bulletins.txt" .
printf '1\nbulletins.txt\n0.5\n7\n' | "$program" >/dev/null 2>&1
cp bulletins.out ../reference_blend.out
"$program" run 1 bulletins.txt --ratio 0.6 >/dev/null 2>&1
cp bulletins.out ../reference_run.out
fresh broken_pipe
cp "$examples/bulletins.txt" .
printf 'the older report\n' >bulletins.out
printf '1\nbulletins.txt\n0.5\n7\n' | (sleep 0.5 && exec timeout 20 "$program" 2>../stderr) |
    head -c 0
status=${PIPESTATUS[1]}
[ $status -eq 1 ] || fail "exit status $status, expected 1"
cmp -s bulletins.out ../reference_blend.out || fail "the report was not written whole"
[ "$(cat ../stderr)" = "The menu and the runs' messages could not be written to standard output." ] ||
    fail "standard error: $(head -c 300 ../stderr)"
same_files "bulletins.out bulletins.txt gfs.txt"

# wxguide run into a pipe whose reader has gone, again and again: the report before the
# table, every time, and exit 1 with one line on standard error.
fresh run_broken_pipe
cp "$examples/bulletins.txt" .
for attempt in $(seq 1 20); do
    printf 'the older report\n' >bulletins.out
    (sleep 0.1 && exec timeout 20 "$program" run 1 bulletins.txt --ratio 0.6 2>../stderr) | true
    status=${PIPESTATUS[0]}
    [ $status -eq 1 ] || fail "attempt $attempt: exit status $status, expected 1"
    cmp -s bulletins.out ../reference_run.out || fail "attempt $attempt: no report"
    [ "$(grep -c 'could not be written' ../stderr)" = 1 ] &&
        [ "$(tail -n 1 ../stderr)" = "The daily table could not be written to standard output." ] ||
        fail "attempt $attempt: standard error: $(head -c 300 ../stderr)"
done
same_files "bulletins.out bulletins.txt gfs.txt"

# wxguide extract on a pipe and on 100 MB profiles: a huge word inside a block, and a block
# of a million levels on one line. Each is refused at once with the block named, nothing
# written, and the peak memory stays that of a small profile's run.
profiles=$cases/extract_refusals/files
fresh extract_fifo_profile
mkfifo pipe.buf
timeout 20 "$program" extract pipe.buf >../stdout 2>../stderr
status=$?
[ $status -eq 1 ] || fail "exit status $status, expected 1 (124: it hung)"
grep -q "pipe.buf cannot be opened as a plain file" ../stderr || fail "stderr: $(cat ../stderr)"
same_files "gfs.txt pipe.buf"
if [ -x /usr/bin/time ]; then
    extract_peak_kib() {  # PROFILE: the peak memory of extract on it
        /usr/bin/time -f %M -o ../peak timeout 60 "$program" extract "$1" >/dev/null 2>../stderr
        tail -n 1 ../peak
    }
    fresh extract_huge_profiles
    cp "$profiles/hrrr_two_hours.buf" small.buf
    small_kib=$(extract_peak_kib small.buf)
    rm -f small_columns.txt small_severe.txt
    head -c 5000 small.buf >word.buf
    head -c 100000000 /dev/zero | tr '\0' 7 >>word.buf
    tail -c +5001 small.buf >>word.buf
    word_kib=$(extract_peak_kib word.buf)
    grep -q "word.buf: block 2 (STIM 1): '7777" ../stderr || fail "huge word: $(head -c 300 ../stderr)"
    head -c 5000 small.buf >levels.buf
    yes '900.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0' | tr '\n' ' ' | head -c 100000000 >>levels.buf
    levels_kib=$(extract_peak_kib levels.buf)
    grep -q "levels.buf: block 2 (STIM 1) holds more than 128 levels" ../stderr ||
        fail "huge block: $(head -c 300 ../stderr)"
    for peak in "$word_kib" "$levels_kib"; do
        [ $((peak - small_kib)) -lt 16384 ] || fail "peak memory $peak KiB, $small_kib on a small profile"
    done
    same_files "gfs.txt levels.buf small.buf word.buf"
fi

[ $failures -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
