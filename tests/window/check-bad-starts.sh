#!/bin/sh
# qxframe refuses a start it cannot make as asked, before any window opens: each bad option or
# file exits with status 2 within seconds, says why on standard error and prints nothing on
# standard output (the transcript's place). Before, a bad line or file fell back to the simulator
# or the defaults, and a person looked at a stand-in believing it was their device.
# usage: check-bad-starts.sh QXFRAME
frame="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
export QT_QPA_PLATFORM=offscreen

printf '{ "modules": [ ' > "$work/broken.json"
printf '{"displayName": 7}' > "$work/wrongtype.json"
printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvex\\DTM]\n"PollCycle"500\n' > "$work/broken.reg"
printf 'wait 10\n' > "$work/ok.qxs"

# refused WHAT EXPECTED-STDERR-PART ARGS...
refused() {
    what="$1" expected="$2"
    shift 2
    timeout 20 "$frame" "$@" > "$work/out" 2> "$work/err"
    got=$?
    if [ "$got" -ne 2 ] || [ -s "$work/out" ] || ! grep -qF -- "$expected" "$work/err"; then
        printf 'case: %s\nexit status %s, expected 2\nstdout:\n%s\nstderr:\n%s\nexpected on stderr: %s\n\n' \
            "$what" "$got" "$(cat "$work/out")" "$(cat "$work/err")" "$expected"
        failed=1
    fi
}

refused "unknown option" "unknown option --colour" --colour red
refused "an option without its value" "--device wants a value" --device
refused "a line that is no address" "--connect wants HOST:PORT (a port from 1 to 65535), not nonsense" --connect nonsense
refused "a port out of range" "not 127.0.0.1:99999" --connect 127.0.0.1:99999
refused "a port of nothing" "not 127.0.0.1:" --connect 127.0.0.1:
refused "a line of no kind the frame knows" '--line: unknown line kind "can" (modbus, rtu, sim)' --line "can /dev/can0"
refused "a serial line with a parity no line takes" '--line: parity is E, O or N, not parity=X' --line "rtu /dev/ttyUSB0 parity=X"
refused "a line the kind refuses" "--line: no line option retries (timeout, connect-timeout)" --line "modbus 127.0.0.1:1502 retries=3"
refused "a missing description" "/nonexistent.json" --device /nonexistent.json
refused "a description that is no JSON" "$work/broken.json" --device "$work/broken.json"
refused "a description of the wrong shape" "$work/wrongtype.json: \$.displayName" --device "$work/wrongtype.json"
refused "a missing registry file" "/nonexistent.reg" --registry /nonexistent.reg
refused "a broken registry file" "$work/broken.reg, line 4" --registry "$work/broken.reg"
refused "a description with a script" "$work/broken.json" --script "$work/ok.qxs" --device "$work/broken.json" --quit
refused "a missing script" "error: /nonexistent.qxs: " --script /nonexistent.qxs --quit
refused "a folder as script" "error: $work: " --script "$work" --quit
refused "speed without a script" "--speed, --screenshot and --quit go with --script" --speed 4
refused "a speed that is no number" "--speed wants a number greater than 0, not fast" --script "$work/ok.qxs" --speed fast

exit $failed
