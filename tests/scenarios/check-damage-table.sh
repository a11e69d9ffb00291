#!/bin/sh
# Damages one data file beside a copy of the library at a time, in every way an installation gets
# damaged, and runs each program on the copy: each must exit with status 2 within seconds and name
# the damaged file's full path. A program that waits on a FIFO or reads /dev/zero forever is
# stopped by `timeout` and counts as failed.
#
# usage: check-damage-table.sh LIBRARY SQLITE3 NAME=COMMAND...
#   COMMAND is run by sh with standard input from /dev/null and the copied library first on
#   LD_LIBRARY_PATH; on the whole installation it must exit 0. One argument per program, e.g.
#   "qxflow-sim=build/dev/bin/qxflow-sim --listen 127.0.0.1:0 -c quit".
library="$1" sqlite="$2"
shift 2
. "$(dirname "$0")/installation-copy.sh"
failed=0

# damage FILE HOW: HOW is one of the table's rows.
damage() {
    f="$lib/$1"
    case "$2" in
        missing) rm "$f" ;;
        empty) : > "$f" ;;
        truncated) head -c 841 "$f" > "$f.cut" && mv "$f.cut" "$f" ;;
        random) head -c 4096 /dev/urandom > "$f" ;;
        folder) rm "$f" && mkdir "$f" ;;
        fifo) rm "$f" && mkfifo "$f" ;;
        zero) rm "$f" && ln -s /dev/zero "$f" ;;
        wal) "$sqlite" "$f" 'PRAGMA journal_mode=WAL;' > /dev/null ;;
        stray-wal) printf "not a write-ahead log" > "$f-wal" ;;
    esac
}

# run NAME=COMMAND EXPECTED-STATUS [FILE]: the output must name FILE when given.
run() {
    name=${1%%=*} command=${1#*=}
    out=$(LD_LIBRARY_PATH="$lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" timeout -k 2 8 sh -c "exec $command" < /dev/null 2>&1)
    got=$?
    named=yes
    if [ -n "$3" ]; then
        case "$out" in *"error: $lib/$3: "*) ;; *) named=no ;; esac
    fi
    if [ "$got" -ne "$2" ] || [ "$named" = no ]; then
        printf '%s, %s: exit status %s, expected %s%s; output:\n%s\n\n' "$case" "$name" "$got" "$2" \
            "$([ "$named" = no ] && echo ", and the output should name $lib/$3")" "$out"
        failed=1
    fi
}

# every STATUS [FILE]: runs each program on the installation as it is.
every() {
    i=0
    while [ $i -lt $count ]; do
        i=$((i + 1))
        eval "program=\$program_$i"
        run "$program" "$@"
    done
}

# row FILE HOW: one damage, every program.
row() {
    case="$1 $2"
    install
    damage "$1" "$2"
    every 2 "$1"
}

# The programs, as program_1 ... program_$count.
count=0
for program in "$@"; do
    count=$((count + 1))
    eval "program_$count=\$program"
done

case="whole installation"
install
every 0

for file in PC1.dat QX_FlowRes.mdb devices/flowmonitor.json; do
    for how in missing empty truncated random folder fifo zero; do
        row "$file" "$how"
    done
done
row QX_FlowRes.mdb wal
row QX_FlowRes.mdb stray-wal
exit $failed
