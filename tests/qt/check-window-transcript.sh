#!/bin/sh
# Runs a console script through qxframe on Qt's offscreen platform and through qxflow-run, and
# compares everything each prints and the exit statuses: a script means the same in the window.
# usage: check-window-transcript.sh QXFRAME QXFLOW_RUN SCRIPT
frame="$1"; run="$2"; script="$3"
expected=$("$run" "$script")
want=$?
got_out=$(QT_QPA_PLATFORM=offscreen "$frame" --script "$script" --speed 1000000 --quit)
got=$?
if ! [ "$got_out" = "$expected" ]; then
    printf '%s\n' "$expected" > "${TMPDIR:-/tmp}/qxframe-expected.$$"
    printf '%s\n' "$got_out" | diff -u "${TMPDIR:-/tmp}/qxframe-expected.$$" -
    rm -f "${TMPDIR:-/tmp}/qxframe-expected.$$"
    exit 1
fi
[ "$got" -eq "$want" ] || { echo "exit status $got, qxflow-run gave $want"; exit 1; }
