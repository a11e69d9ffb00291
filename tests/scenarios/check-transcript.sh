#!/bin/sh
# Runs a console script and compares everything it prints with the transcript beside it
# (SCRIPT with .out in place of .qxs); the script must also exit 0.
# usage: check-transcript.sh QXFLOW_RUN SCRIPT
run="$1"; script="$2"
expected="${script%.qxs}.out"
out=$("$run" "$script")
status=$?
if ! printf '%s\n' "$out" | diff -u "$expected" -; then
    exit 1
fi
[ "$status" -eq 0 ] || { echo "exit status $status"; exit 1; }
