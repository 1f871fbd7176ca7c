#!/usr/bin/env bash
# Stands in for the Windows side in the identity test's own tests: runs the command line given
# and then spoils one thing the identity test must notice.
#   faulty-side.sh MODE CLI ARGS...
# MODE period: one byte of ledger-a/2024ORMEK.11 changed after the writing run of export-a;
# MODE status: verify exits with 0 whatever it found; MODE stdout: one space more in show's CSV.
mode="$1" cli="$2"
shift 2
"$cli" "$@"
status=$?
args=" $* "
case "$mode" in
    period)
        if [[ "$args" == *" convert "* && "$args" != *" --check "* && "$args" == *" summary-a.json "* &&
            -f ledger-a/2024ORMEK.11 ]]; then
            printf 'X' | dd of=ledger-a/2024ORMEK.11 bs=1 seek=4321 conv=notrunc status=none
        fi
        ;;
    status) [[ "$args" == *" verify "* ]] && status=0 ;;
    stdout) [[ "$args" == *" csv "* ]] && printf ' ' ;;
esac
exit "$status"
