#!/usr/bin/env bash
# The stress program catches what it should: against the stand-in library, each planted fault is
# reported with its seed, and the printed replay reproduces it; without a fault the run passes.
set -u
stress=$1
standin=$2
status=0

check() {  # fault, pattern the report must contain
    local fault=$1 pattern=$2 out code replay
    out=$(VXL_STANDIN_FAULT=$fault "$stress" --lib "$standin" --seconds 120 --hang-seconds 2 2>&1)
    code=$?
    replay=$(grep -o -- '--seed [0-9]* --calls [0-9]*' <<<"$out")
    if [ $code -ne 1 ] || ! grep -q "FAILURE seed=" <<<"$out" || ! grep -Eq "$pattern" <<<"$out"; then
        echo "self-check: planted fault '$fault' was not reported as /$pattern/:"; echo "$out" | tail -20
        status=1
        return
    fi
    echo "self-check: '$fault' reported: $(grep FAILURE <<<"$out")"
    out=$(VXL_STANDIN_FAULT=$fault "$stress" --lib "$standin" $replay --hang-seconds 2 2>&1)
    if [ $? -ne 1 ] || ! grep -Eq "$pattern" <<<"$out"; then
        echo "self-check: replaying '$fault' with $replay did not fail the same way:"; echo "$out" | tail -20
        status=1
    fi
}

check oob 'crash: killed by signal 11|sanitizer report'
check hang 'hang: '
check dead 'dead handle [-0-9]+ answered BufferSizeX'
if ! "$stress" --lib "$standin" --seed 1 --calls 3000 >/dev/null 2>&1; then
    echo "self-check: the stand-in without a fault did not pass"
    status=1
fi
[ $status -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $status
