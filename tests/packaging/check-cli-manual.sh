#!/usr/bin/env bash
# The command line's manual page names every subcommand, option and exit status, and man
# renders it without a warning.
set -euo pipefail
page="$1"
missing=0
# In roff a "-" in an option is written "\-".
for word in convert companies show verify undo \
    '\-\-check' '\-\-code\-page' '\-\-attribute' '\-\-register' '\-\-skip\-booked' \
    '\-\-summary' '\-\-summary\-json' '\-\-strict' '\-\-format' '\-\-help' '\-\-version' \
    '\-h' '\-V' mazovia 852 text csv json; do
    if ! grep -qF -- "$word" "$page"; then
        echo "manual page lacks: $word" >&2
        missing=1
    fi
done
section=$(sed -n '/^\.SH KOD WYJŚCIA/,/^\.SH /p' "$page")
for status in 0 1 2 3 130; do
    if ! grep -qE "^\.B(R)? $status( |$|,)" <<<"$section"; then
        echo "manual page lacks exit status $status" >&2
        missing=1
    fi
done
if command -v man >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
    if [ -n "$warnings" ]; then
        echo "$warnings" >&2
        missing=1
    fi
fi
exit $missing
