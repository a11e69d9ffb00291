#!/bin/sh
# Breaks one data file beside a copy of the library at a time and checks that the console refuses
# to run, naming the file's full path and what is wrong, with exit status 2; the whole copy runs.
# usage: check-installation.sh QXFLOW_RUN LIBRARY SQLITE3
run="$1" library="$2" sqlite="$3"
. "$(dirname "$0")/installation-copy.sh"
failed=0

# check STATUS EXPECTED-OUTPUT: runs $script (else an empty script) on the copy.
check() {
    out=$(printf "${script:-create\\n}" | LD_LIBRARY_PATH="$work/lib" timeout -k 2 10 "$run" 2>&1)
    got=$?
    if [ "$got" -ne "$1" ] || [ "$out" != "$2" ]; then
        printf 'case: %s\nexit status %s, expected %s; output:\n%s\nexpected:\n%s\n\n' "$case" "$got" "$1" "$out" "$2"
        failed=1
    fi
}

case="whole installation"; install
check 0 ""
case="no chart definition"; install; rm "$lib/PC1.dat"
check 2 "error: $lib/PC1.dat: file not found"
case="chart definition is a folder"; install; rm "$lib/PC1.dat"; mkdir "$lib/PC1.dat"
check 2 "error: $lib/PC1.dat: is a folder, not a file"
case="unknown key"; install; printf '[Chart]\nVersion = 1\nColour = red\n' > "$lib/PC1.dat"
check 2 "error: $lib/PC1.dat: line 3: unknown key 'Colour'"
case="binary chart definition"; install; printf '[Chart]\nVersion = 1\nBackColor = \001\377\n' > "$lib/PC1.dat"
check 2 "error: $lib/PC1.dat: line 3: '\\x01\\xFF' is not a colour rgb(red, green, blue)"
case="chart definition cut short"; install; head -c 841 "$built/PC1.dat" > "$lib/PC1.dat"
check 2 "error: $lib/PC1.dat: not a whole chart definition: no section [Axis Y2]"
case="chart definition is a FIFO"; install; rm "$lib/PC1.dat"; mkfifo "$lib/PC1.dat"
check 2 "error: $lib/PC1.dat: is a FIFO, not a regular file"
case="description is /dev/zero"; install; ln -sf /dev/zero "$lib/devices/flowmonitor.json"
check 2 "error: $lib/devices/flowmonitor.json: is a character device, not a regular file"
case="database in WAL mode"; install; "$sqlite" "$lib/QX_FlowRes.mdb" 'PRAGMA journal_mode=WAL;' > /dev/null
check 2 "error: $lib/QX_FlowRes.mdb: is in WAL mode, which the view cannot read (PRAGMA journal_mode=DELETE turns it back)"
case="stray write-ahead log beside the database"; install; printf 'not a log' > "$lib/QX_FlowRes.mdb-wal"
check 2 "error: $lib/QX_FlowRes.mdb: cannot be read as the view opens it, with QX_FlowRes.mdb-wal beside it: disk I/O error"
case="FIFO for a journal beside the database"; install; mkfifo "$lib/QX_FlowRes.mdb-journal"
check 2 "error: $lib/QX_FlowRes.mdb: has QX_FlowRes.mdb-journal beside it, which is not a regular file"
case="no resource database"; install; rm "$lib/QX_FlowRes.mdb"
check 2 "error: $lib/QX_FlowRes.mdb: file not found"
case="not a database"; install; printf 'this is not a database, only text that is long enough to look like one\n' > "$lib/QX_FlowRes.mdb"
check 2 "error: $lib/QX_FlowRes.mdb: not a resource database: file is not a database"
case="empty database"; install; rm "$lib/QX_FlowRes.mdb"; "$sqlite" "$lib/QX_FlowRes.mdb" 'PRAGMA user_version = 7; CREATE TABLE other (x);'
check 2 "error: $lib/QX_FlowRes.mdb: not a resource database: no such table: texts"
case="other layout"; install; "$sqlite" "$lib/QX_FlowRes.mdb" 'PRAGMA user_version = 3;'
check 2 "error: $lib/QX_FlowRes.mdb: has layout 3, not 7"
case="binary text"; install; "$sqlite" "$lib/QX_FlowRes.mdb" "UPDATE texts SET text = X'1B5B324A07' WHERE key = 'IDS_TMax' AND language = 1033;"
check 2 "error: $lib/QX_FlowRes.mdb: the text of IDS_TMax in language 1033 is blob data, not text"
case="control characters in a text"; install; "$sqlite" "$lib/QX_FlowRes.mdb" "UPDATE texts SET text = CAST(X'1B5B324A07' AS TEXT) WHERE key = 'IDS_TMin' AND language = 1031;"
check 2 "error: $lib/QX_FlowRes.mdb: the text of IDS_TMin in language 1031 is not printable UTF-8 text"
case="broken device description"; install; printf '{"displayName": 5}' > "$lib/devices/flowmonitor.json"
check 2 "error: $lib/devices/flowmonitor.json: \$.displayName: is a number, not a text"
case="escape sequence in a display name"; install; printf '{"displayName": "Flow\\u001b]0;x\\u0007"}' > "$lib/devices/flowmonitor.json"
check 2 "error: $lib/devices/flowmonitor.json: \$.displayName: \"Flow\\x1B]0;x\\x07\" holds a control character"
case="description that is no UTF-8"; install; printf '{"displayName": "\377"}' > "$lib/devices/flowmonitor.json"
check 2 "error: $lib/devices/flowmonitor.json: \$: parse error at line 1, column 18: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; last read: '\"\\xFF'"
case="log file is a FIFO"; install; mkfifo "$lib/dtm.log"
script='registry DebugFile dword:1\ncreate\nrelease\n'
check 0 "release -> false"
script=
case="two faults"; install; rm "$lib/PC1.dat" "$lib/QX_FlowRes.mdb"
check 2 "error: $lib/PC1.dat: file not found
error: $lib/QX_FlowRes.mdb: file not found"
exit $failed
