#!/usr/bin/env bash
# The bash completion of trevo2kpr-cli, sourced into bash as bash-completion would, asked for a
# few command lines; and for every command it offers exactly the long options that command's
# --help names, so that a new option cannot be left out.
#   check-bash-completion.sh COMPLETION_FILE TREVO2KPR_CLI [BASH_COMPLETION_MAIN]
set -euo pipefail
completion="$1"
cli="$2"
main="${3:-}"
failed=0

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/kpr" "$work/kpr2"
touch "$work/eksp2kap.kpm" "$work/kprlist.dat"

if [ -n "$main" ]; then
    # shellcheck source=/dev/null
    source "$main"
fi
# shellcheck source=/dev/null
source "$completion"

# Completes the last word of the line, as Tab at its end would.
complete_line() {
    local line="$1"
    read -r -a COMP_WORDS <<<"$line"
    if [[ $line == *" " ]]; then
        COMP_WORDS+=("")
    fi
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$line"
    COMP_POINT=${#line}
    COMPREPLY=()
    _trevo2kpr_cli trevo2kpr-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {
    local line="$1" expected="$2" got
    got="$(cd "$work" && complete_line "$line")"
    if [ "$got" != "$expected" ]; then
        echo "completion of '$line': expected '$expected', got '$got'" >&2
        failed=1
    fi
}

expect "trevo2kpr-cli " "companies convert help show undo verify"
expect "trevo2kpr-cli co" "companies convert"
expect "trevo2kpr-cli --v" "--version"
expect "trevo2kpr-cli help c" "companies convert"
expect "trevo2kpr-cli convert --code-page " "852 mazovia"
expect "trevo2kpr-cli verify --code-page m" "mazovia"
expect "trevo2kpr-cli show --format " "csv json text"
expect "trevo2kpr-cli convert --s" "--skip-booked --strict --summary --summary-json"
expect "trevo2kpr-cli convert eks" "eksp2kap.kpm"
expect "trevo2kpr-cli convert --code-page 852 eksp2kap.kpm kp" "kpr kpr2"
expect "trevo2kpr-cli convert --attribute " ""
expect "trevo2kpr-cli verify k" "kpr kpr2"
expect "trevo2kpr-cli undo --check k" "kpr kpr2"
expect "trevo2kpr-cli companies kprl" "kprlist.dat"

# Every long option of each command's help, and nothing else.
for command in convert companies show verify undo; do
    from_help="$("$cli" "$command" --help | sed -n '/^Opcje:/,/^$/p' |
        grep -oE -- '(^|[ ,])--[a-z][a-z-]*' | sed 's/^[ ,]*//' | sort -u | tr '\n' ' ')"
    offered="$(cd "$work" && complete_line "trevo2kpr-cli $command --" | tr ' ' '\n' |
        sort -u | tr '\n' ' ')"
    if [ "$from_help" != "$offered" ]; then
        echo "$command: --help names '$from_help', the completion offers '$offered'" >&2
        failed=1
    fi
done
exit $failed
