#!/bin/sh
# Runs a console script that must end with a given exit status, and checks that the last line
# printed is the one the script names in its "# last: " comment.
# usage: check-exit.sh QXFLOW_RUN SCRIPT STATUS
run="$1"; script="$2"; want="$3"
out=$("$run" "$script")
got=$?
last=$(printf '%s\n' "$out" | tail -n 1)
expected=$(sed -n 's/^# last: //p' "$script")
if [ "$got" -ne "$want" ]; then
    printf 'exit status %s, expected %s\n%s\n' "$got" "$want" "$out"
    exit 1
fi
if [ "$last" != "$expected" ]; then
    printf 'last line:\n  %s\nexpected:\n  %s\n' "$last" "$expected"
    exit 1
fi
