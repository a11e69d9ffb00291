#!/bin/sh
# Feeds short scripts to the console on standard input and checks the exit status and the last line
# printed: 2 for a script error, which stops the script; 1 when an expect failed and the script ran on.
# usage: check-exit.sh QXFLOW_RUN
run="$1"
data=$(cd "$(dirname "$0")/data" && pwd)
failed=0
check() {
    want="$1" last="$2"
    shift 2
    out=$(printf '%s\n' "$@" | "$run")
    got=$?
    if [ "$got" -ne "$want" ] || [ "$(printf '%s\n' "$out" | tail -n 1)" != "$last" ]; then
        printf 'script: %s\nexit status %s, expected %s; output:\n%s\nexpected last line: %s\n\n' "$*" "$got" "$want" "$out" "$last"
        failed=1
    fi
}
check 2 'error: line 2: click before create' '# comment lines count' 'click ComTMax'
check 2 'error: line 4: press after terminate' create '' terminate 'press Poll'
check 2 'error: line 3: device after init' create 'init device' 'device fw=0'
check 2 'error: line 2: registry after create' create 'registry PollCycle dword:500'
check 2 'error: line 2: the view was already created' create create
check 2 'error: line 2: unclosed quote' create 'type LaTMaxW "500'
check 2 'error: line 2: unknown command "poll"' create poll 'show field mTeachState'
check 2 'error: line 2: the view has no field mNoSuchField' create 'show field mNoSuchField'
check 2 'error: line 1: no value maybe for teach' 'device teach=maybe'
check 2 "error: line 1: $data/device-flags-too-wide.json: \$.modules[0].groups[0].parameters[0].flags: 8589934592 is outside -2147483648..4294967295 (32 bits, signed or not)" "device file=$data/device-flags-too-wide.json"
# Numbers outside their command's range, named with the command, the argument and the range.
check 2 'error: line 2: wait <ms> is a whole number from 0 to 2147483647, not 9223372036854775807' create 'wait 9223372036854775807'
check 2 'error: line 1: wait <ms> is a whole number from 0 to 2147483647, not -1' 'wait -1'
check 2 'error: line 1: sim latency <ms> is a whole number from 0 to 2147483647, not 2147483648' 'sim latency 2147483648'
check 2 'error: line 1: sim settle <ms> is a whole number from 0 to 2147483647, not 9223372036854775807' 'sim settle 9223372036854775807'
check 2 'error: line 1: sim flow <n> is a number from -2147483648 to 2147483647, not 1e300' 'sim flow 1e300'
check 2 'error: line 1: registry <Name> dword:<decimal> is a whole number from 0 to 4294967295, not -1' 'registry Debug dword:-1'
check 2 'error: line 1: device fw=<number> is a whole number from -2147483648 to 2147483647, not 4294967296' 'device fw=4294967296'
check 2 'error: line 2: drag <x> is a number from -2147483648 to 2147483647, not 1e12' create 'drag PC1 1 10 1e12'
check 0 'jobs = 0' create 'wait 2147483647' 'show jobs'
# A .reg file's fault is told with its line and reason in the one message.
check 2 "error: line 1: $data/registry-misplaced-quote.reg, line 4: the value name \"PollCycle=\" is followed by '500' instead of '=' (the closing quote belongs before the '=': \"PollCycle\"=)" "registry file $data/registry-misplaced-quote.reg"
# The frame asks for the release once.
check 2 'error: line 4: release after release: the frame asks a view once' create 'init device' release release
check 2 'error: line 1: language 0, 1033 or 1031, not 1036' 'language 1036'
# A line is chosen by its kind's name: a kind the frame does not know is refused naming those it
# does, and `line sim` takes the simulated line back.
check 2 'error: line 1: unknown line kind "can" (modbus, rtu, sim)' 'line can /dev/can0'
check 2 'error: line 1: parity is E, O or N, not parity=X' 'line rtu /dev/ttyUSB0 parity=X'
check 0 'ok connected' 'line modbus 127.0.0.1:1502' 'line sim' 'sim flow 300' create 'init device' set-toolbar 'wait 100' 'expect connected true'
check 1 'ok field mTeachState' create 'expect field mTeachState 3' 'expect field mTeachState 0'
check 1 'FAIL line 3: field mModule = "$$MODULE" (expected "$$MODULE)' create 'expect field mModule "$$MODULE"' 'expect field mModule "$$MODULE'
# A folder given as the script is refused before anything runs.
out=$("$run" "$data")
got=$?
if [ "$got" -ne 2 ] || [ "$out" != "error: $data: is a folder, not a file" ]; then
    printf 'a folder as the script: exit status %s, output:\n%s\n' "$got" "$out"
    failed=1
fi
exit $failed
