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
check 1 'ok field mTeachState' create 'expect field mTeachState 3' 'expect field mTeachState 0'
check 1 'FAIL line 3: field mModule = "$$MODULE" (expected "$$MODULE)' create 'expect field mModule "$$MODULE"' 'expect field mModule "$$MODULE'
exit $failed
