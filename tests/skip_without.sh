#!/bin/sh
# Runs a check, or reports it skipped with status 77 (the tests' SKIP_RETURN_CODE) when
# a tool it needs is not installed, so that a machine without it skips rather than fails.
# Usage: skip_without.sh TOOL=DEBIAN-PACKAGE... -- COMMAND [ARGUMENT...]
missing=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    if ! command -v "${1%%=*}" >/dev/null 2>&1; then
        case " $missing " in *" ${1#*=} "*) ;; *) missing="$missing ${1#*=}" ;; esac
    fi
    shift
done
[ $# -gt 0 ] && shift
if [ -n "$missing" ]; then
    echo "skipped: not installed:$missing (as root: apt-get install$missing)"
    exit 77
fi
exec "$@"
