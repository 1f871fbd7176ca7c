#!/usr/bin/env bash
# Every manual page renders without a single warning, as man shows it and as groff formats it
# for a plain terminal and for UTF-8, under the C locale and under a Polish one: a page that
# names Polish letters must still read under LC_ALL=C.
#   check-manual-renders.sh PAGE...
set -euo pipefail
failed=0
locales=(C)
if locale -a 2>/dev/null | grep -qi '^pl_PL\.utf-\?8$'; then
    locales+=(pl_PL.UTF-8)
else
    echo "no pl_PL.UTF-8 locale here: checking under C only" >&2
fi
for page in "$@"; do
    for locale in "${locales[@]}"; do
        runs=("groff -ww -man -k -Tascii $page" "groff -ww -man -k -Tutf8 $page")
        if command -v man >/dev/null; then
            runs+=("man --warnings -l $page")
        fi
        for run in "${runs[@]}"; do
            # shellcheck disable=SC2086
            warnings=$(LC_ALL=$locale MANWIDTH=80 $run 2>&1 >/dev/null || echo "exit status $?")
            if [ -n "$warnings" ]; then
                echo "LC_ALL=$locale $run:" >&2
                echo "$warnings" >&2
                failed=1
            fi
        done
    done
done
exit $failed
