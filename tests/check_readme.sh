#!/usr/bin/env bash
# Compares every transcript block of README.md with what the program prints today.
# Usage: check_readme.sh README.md examples-folder program work-folder
#
# A transcript block is an indented (four blanks) or fenced (```) block of one of two
# kinds, each run in a fresh copy of the examples folder with the program first on PATH:
#  - command form: its first line starts with "$ ". Each "$ " line is run by sh, and the
#    lines up to the next "$ " line are exactly what it prints (standard output and error).
#  - dialogue form: the line before the block (or its fence) is "<!-- typed: WORD ... -->".
#    The program is run with those words, one a line, and the block is a stretch of what
#    a terminal shows: program output, with a typed word after a prompt ending in ": ".
# Any other block holding a line that starts with "Please enter" fails: it would be an
# untested transcript.
set -u
readme=$1 examples=$2 program=$(realpath "$3") work=$4
bin=$work/bin
rm -rf "$work" && mkdir -p "$bin" && ln -s "$program" "$bin/wxguide"
failures=0 checked=0

fail() {
    echo "README.md block at line $start: $1" >&2
    failures=$((failures + 1))
}

fresh_folder() {
    rm -rf "$work/run" && cp -r "$examples" "$work/run"
}

check_commands() {
    local expected="" actual="" line command="" first=1
    fresh_folder
    while IFS= read -r line; do
        if [[ $line == '$ '* ]]; then
            [ $first -eq 1 ] || actual+=$( (cd "$work/run" && PATH="$bin:$PATH" sh -c "$command" 2>&1); echo .)
            actual=${actual%.}
            command=${line#\$ } first=0
        else
            expected+=$line$'\n'
        fi
    done <<<"$block"
    actual+=$( (cd "$work/run" && PATH="$bin:$PATH" sh -c "$command" 2>&1); echo .)
    actual=${actual%.}
    [ "$actual" == "$expected" ] || fail "$(diff <(printf '%s' "$expected") <(printf '%s' "$actual"))"
}

check_dialogue() {
    local -a typed=($1)
    local raw line word p=0 j matched start_at cursor
    fresh_folder
    raw=$(cd "$work/run" && printf '%s\n' "${typed[@]}" | "$program"; echo .)
    raw=${raw%.}
    local -a lines=()
    mapfile -t lines <<<"$block"
    # Try each line start of the output as the start of the stretch.
    for ((start_at = 0; start_at <= ${#raw}; start_at++)); do
        ((start_at == 0)) || [[ ${raw:start_at-1:1} == $'\n' ]] || continue
        cursor=$start_at p=0 matched=1
        for line in "${lines[@]}"; do
            if [[ ${raw:cursor} == "$line"$'\n'* ]]; then
                cursor=$((cursor + ${#line} + 1))
                continue
            fi
            matched=0
            for ((j = p; j < ${#typed[@]}; j++)); do
                word=${typed[j]}
                local prompt=${line%"$word"}
                if [[ $line == *": $word" && ${raw:cursor} == "$prompt"* ]]; then
                    cursor=$((cursor + ${#prompt})) p=$((j + 1)) matched=1
                    break
                fi
            done
            ((matched)) || break
        done
        ((matched)) && return
    done
    fail "not a stretch of what the program prints for: ${typed[*]}
--- block:
$block
--- program output:
$raw"
}

typed="" block="" start=0 lineno=0 previous="" fenced=0
finish_block() {
    [ -n "$block" ] || return 0
    block=${block%$'\n'}
    while [[ $block == *$'\n' ]]; do block=${block%$'\n'}; done
    if [[ $block == '$ '* ]]; then
        check_commands; checked=$((checked + 1))
    elif [ -n "$typed" ]; then
        check_dialogue "$typed"; checked=$((checked + 1))
    elif [[ $'\n'$block == *$'\nPlease enter'* ]]; then
        fail "looks like a transcript but is neither a command block nor marked <!-- typed: ... -->"
    fi
    block="" typed=""
}
while IFS= read -r text || [ -n "$text" ]; do
    lineno=$((lineno + 1))
    if [[ $text == '```'* ]]; then
        finish_block
        fenced=$((1 - fenced)) start=$((lineno + 1))
        ((fenced)) && [[ $previous == '<!-- typed:'* ]] && typed=${previous#'<!-- typed:'} typed=${typed%'-->'}
    elif ((fenced)); then
        block+=$text$'\n'
    elif [[ $text == '    '* && ( -n $block || -z $previous || $previous == '<!-- typed:'* ) ]]; then
        [ -n "$block" ] || { start=$lineno; [[ $previous == '<!-- typed:'* ]] && typed=${previous#'<!-- typed:'} typed=${typed%'-->'}; }
        block+=${text#    }$'\n'
    elif [[ -z $text && -n $block ]]; then
        block+=$'\n'
    else
        finish_block
    fi
    previous=$text
done <"$readme"
finish_block

echo "$checked transcript blocks checked, $failures failed"
[ "$checked" -gt 0 ] && [ "$failures" -eq 0 ]
