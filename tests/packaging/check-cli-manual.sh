#!/usr/bin/env bash
# The command line's manual pages (English, Polish) name every subcommand, option and exit
# status.
#   check-cli-manual.sh PAGE...
set -euo pipefail
missing=0
for page in "$@"; do
    # In roff a "-" in an option is written "\-".
    for word in convert companies show verify undo \
        '\-\-check' '\-\-code\-page' '\-\-attribute' '\-\-register' '\-\-skip\-booked' \
        '\-\-summary' '\-\-summary\-json' '\-\-strict' '\-\-format' '\-\-help' '\-\-version' \
        '\-h' '\-V' mazovia 852 text csv json help LC_MONETARY; do
        if ! grep -qF -- "$word" "$page"; then
            echo "$page lacks: $word" >&2
            missing=1
        fi
    done
    section=$(sed -n '/^\.SH \(KOD WYJŚCIA\|EXIT STATUS\)/,/^\.SH /p' "$page")
    for status in 0 1 2 3 128+N; do
        if ! grep -qF -x -e ".B $status" -e ".BR $status" <<<"$section"; then
            echo "$page lacks exit status $status" >&2
            missing=1
        fi
    done
done
exit $missing
