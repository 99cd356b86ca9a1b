#!/usr/bin/env bash
# Completes typed command lines with the bash completion file and compares the offered
# words. Usage: check_bash_completion.sh completion-file work-folder
set -u
completion=$(realpath "$1") work=$2
rm -rf "$work" && mkdir -p "$work/runs" && cd "$work" || exit 1
touch gfs.txt "my guidance.txt"
# shellcheck disable=SC1090
source "$completion"
failures=0

# expect "COMMAND LINE" "OFFERED WORDS, sorted, |-separated": the last word of the line
# is the one being completed (a line ending in a blank completes an empty word).
expect() {
    local line=$1 wanted=$2 got
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line COMP_POINT=${#line}
    _wxguide wxguide "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd '|')
    if [[ $got != "$wanted" ]]; then
        echo "completing \"$line\": offered \"$got\", expected \"$wanted\"" >&2
        failures=$((failures + 1))
    fi
}

expect "wxguide " "--city|--csv|--help|--plot|--stations|--version|-V|-h|assemble|extract|fetch|run|stations|today|verify"
expect "wxguide --v" "--version"
expect "wxguide -" "--city|--csv|--help|--plot|--stations|--version|-V|-h"
expect "wxguide --plot " "--city|--csv|--plot|--stations|assemble|extract|fetch|run|stations|today|verify"
expect "wxguide --plot --csv run " "1|2|3|4|5|6"
expect "wxguide --csv run 1 gfs.txt --" "--csv|--plot|--quiet|--ratio"
expect "wxguide as" "assemble"
expect "wxguide fetch " "--offline|--quiet|bulletins|grib|profile"
expect "wxguide fetch grib --" "--folder|--hours|--offline|--point|--quiet|--run|--station|--step"
expect "wxguide fetch grib --station " ""
expect "wxguide fetch -q bulletins --" "--date|--offline|--output|--quiet"
expect "wxguide fetch profile " "gfs|hrrr|rap"
expect "wxguide fetch profile gfs kdsm --" "--offline|--output|--quiet|--run"
expect "wxguide fetch profile gfs kdsm --run " ""
expect "wxguide today --" "--at|--folder|--offline|--ratio|--station"
expect "wxguide today --ratio " ""
expect "wxguide --stations KDSM,KAMW today --offline --" "--at|--folder|--offline|--ratio|--station"
expect "wxguide r" "run"
expect "wxguide run " "1|2|3|4|5|6"
expect "wxguide run 2 g" "gfs.txt"
expect "wxguide run 1 gfs.txt --" "--csv|--plot|--quiet|--ratio"
expect "wxguide run 2 gfs.txt --" "--csv|--plot|--quiet"
expect "wxguide run 1 gfs.txt --ratio " ""
expect "wxguide stations " "--count"
expect "wxguide verify --" "--csv|--days|--end|--offline|--plot"
expect "wxguide verify --days " ""
expect "wxguide verify --csv g" "gfs.txt"
expect "wxguide --stations " ""
expect "wxguide --city 41.59,-93.62 " "--city|--stations|assemble|fetch|stations|today|verify"
expect "wxguide --stations KDSM,KAMW --city 41.59,-93.62 st" "stations"
expect "wxguide --city 41.59,-93.62 stations --" "--count"
expect "wxguide --stations KBKX=1 assemble --o" "--output"
expect "wxguide --help " ""
expect "wxguide assemble --" "--date|--output|--quiet"
expect "wxguide assemble --date 12/08/2026 --o" "--output"
expect "wxguide assemble --date " ""
expect "wxguide assemble --output g" "gfs.txt"
expect "wxguide assemble --output today.txt m" "my guidance.txt"
expect "wxguide assemble " "gfs.txt|my guidance.txt|runs"
expect "wxguide extract --" "--columns|--point|--run|--severe|--station|--step"
expect "wxguide extract --station " ""
expect "wxguide extract --step " ""
expect "wxguide extract --columns g" "gfs.txt"
expect "wxguide gfs" ""

[[ $(complete -p wxguide) == *"-F _wxguide"* ]] || {
    echo "the file does not register _wxguide for wxguide" >&2
    failures=$((failures + 1))
}
[ "$failures" -eq 0 ]
