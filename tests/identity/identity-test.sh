#!/usr/bin/env bash
# Runs the Linux and the Windows command line on the same generated exports, step by step, and
# requires byte-identical period files, traces, summaries, show and verify output and exit
# statuses. Fails at the first difference and names the file and line.
#
#   identity-test.sh --windows-cli EXE [--linux-build DIR] [--documents N]
#   identity-test.sh --windows-cli CLI --windows-runner '' --linux-cli CLI --exports-tool TOOL
#
# --linux-build DIR: builds trevo2kpr-cli and make_identity_exports there (configured as a small
# Release without the window when DIR has no build yet; default build-identity-linux/ in the
# repository). --linux-cli and --exports-tool name ready programs instead. The Windows side runs
# under `wine` (--windows-runner) in a fresh prefix made in the work folder, which is removed at
# the end unless IDENTITY_KEEP_WORK=1.
#
# Both sides run under the Polish regional settings, pinned as tests/identity/sides.sh says.
#
# Paths in the output differ by their separator only: the Windows side's "\" after the ledger
# and journal folders (also as "\\" in JSON) is read as "/"; nothing else is changed.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/tests/identity/sides.sh"

linux_build="$root/build-identity-linux"
linux_cli="" exports_tool="" windows_cli="" documents=3000
runner=(wine)
while (($#)); do
    case "$1" in
        --linux-build) linux_build="$2"; shift 2 ;;
        --linux-cli) linux_cli="$2"; shift 2 ;;
        --exports-tool) exports_tool="$2"; shift 2 ;;
        --windows-cli) windows_cli="$2"; shift 2 ;;
        --windows-runner) read -r -a runner <<<"$2"; shift 2 ;;
        --documents) documents="$2"; shift 2 ;;
        *) echo "identity-test.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
[[ -n "$windows_cli" ]] || { echo "identity-test.sh: --windows-cli is needed" >&2; exit 2; }
windows_cli="$(realpath "$windows_cli")"

if [[ -z "$linux_cli" || -z "$exports_tool" ]]; then
    build_linux_side "$linux_build" trevo2kpr-cli make_identity_exports
    linux_cli="$linux_build/cli/trevo2kpr-cli"
    exports_tool="$linux_build/tests/identity/make_identity_exports"
fi
linux_cli="$(realpath "$linux_cli")"

work="$(mktemp -d "${TMPDIR:-/tmp}/trevo-identity.XXXXXX")"
cleanup() {
    end_wine_prefix
    if [[ "${IDENTITY_KEEP_WORK:-0}" == 1 ]]; then
        echo "identity: work folder kept: $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

mkdir -p "$work/linux/exports" "$work/windows" "$work/out"
"$exports_tool" "$work/linux/exports" "$documents"
head -n 5 "$work/linux/exports/export-b.kpm" >"$work/linux/exports/seed-b.kpm"
mkdir "$work/linux/ledger-a" "$work/linux/ledger-b"
cp -r "$work/linux/." "$work/windows/"

if [[ "${runner[0]:-}" == wine* ]]; then
    make_polish_prefix "$work/wine/pfx"
fi

# The Windows side's output with its path separators read as the Linux side's.
normalise() {
    sed -e 's#\(ledger-[ab]\|trevo2KPR\.dziennik\)\\\\#\1/#g' \
        -e 's#\(ledger-[ab]\|trevo2KPR\.dziennik\)\\#\1/#g' "$1"
}

# Undo names the time its run started, which differs by the seconds between the two sides' runs.
without_start_time() {
    sed -e 's/^\(Cofnięto przebieg z\|Cofnięcie przebiegu z\) \([0-9-]*\) [0-9:]*/\1 \2 HH:MM:SS/' "$1"
}

failed=0
# Reports the first difference between two files: byte offset, line, and both lines.
differ() {
    local what="$1" a="$2" b="$3" at line
    at="$(cmp "$a" "$b" 2>&1 || true)"
    [[ -z "$at" ]] && return 0
    echo "DIFFERENT $what: $at"
    if [[ "$what" == ledger-* ]]; then
        local byte
        byte="$(sed -n 's/.*byte \([0-9]*\).*/\1/p' <<<"$at")"
        [[ -n "$byte" ]] && echo "  record $(((byte - 1) / 400 + 1)), byte $(((byte - 1) % 400)) of it"
        failed=1
        return 1
    fi
    line="$(sed -n 's/.*line \([0-9]*\).*/\1/p' <<<"$at")"
    if [[ -n "$line" ]]; then
        echo "  linux:   $(sed -n "${line}p" "$a" | cut -c1-300)"
        echo "  windows: $(sed -n "${line}p" "$b" | cut -c1-300)"
    fi
    failed=1
    return 1
}

# The period files of both sides: same names, same bytes.
compare_ledgers() {
    local step="$1" list_linux list_windows name
    list_linux="$(cd "$work/linux" && find ledger-a ledger-b -maxdepth 1 -type f -name '*ORMEK.*' | sort)"
    list_windows="$(cd "$work/windows" && find ledger-a ledger-b -maxdepth 1 -type f -name '*ORMEK.*' | sort)"
    if [[ "$list_linux" != "$list_windows" ]]; then
        echo "DIFFERENT period files after $step:"
        diff <(echo "$list_linux") <(echo "$list_windows") | head -5
        failed=1
        return 1
    fi
    for name in $list_linux; do
        differ "$name after $step" "$work/linux/$name" "$work/windows/$name" || return 1
    done
}

step_count=0
# One command on both sides: exit statuses, stdout and stderr, then every period file and the
# named summary files must be the same.
both() {
    local step="$1" summaries="$2"
    shift 2
    step_count=$((step_count + 1))
    local out="$work/out/$step"
    (cd "$work/linux" && "${linux_env[@]}" "$linux_cli" "$@" >"$out.linux.out" \
        2>"$out.linux.err" && echo 0 || echo $?) >"$out.linux.rc"
    (cd "$work/windows" && "${windows_env[@]}" \
        "${runner[@]}" "$windows_cli" "$@" >"$out.windows.raw" 2>"$out.windows.rawerr" \
        && echo 0 || echo $?) >"$out.windows.rc"
    normalise "$out.windows.raw" >"$out.windows.out"
    normalise "$out.windows.rawerr" >"$out.windows.err"
    if [[ "$1" == undo ]]; then
        local side
        for side in linux windows; do
            without_start_time "$out.$side.out" >"$out.$side.timeless"
            mv "$out.$side.timeless" "$out.$side.out"
        done
    fi
    local rc_linux rc_windows
    rc_linux="$(cat "$out.linux.rc")" rc_windows="$(cat "$out.windows.rc")"
    echo "$step: exit $rc_linux, $(wc -l <"$out.linux.out") lines"
    if [[ "$rc_linux" != "$rc_windows" ]]; then
        echo "DIFFERENT exit status of $step: linux $rc_linux, windows $rc_windows"
        failed=1
    fi
    # show and verify only read: the period files are compared after the commands that write.
    if differ "stdout of $step ($*)" "$out.linux.out" "$out.windows.out" &&
        differ "stderr of $step ($*)" "$out.linux.err" "$out.windows.err" &&
        [[ "$1" == convert || "$1" == undo ]]; then
        compare_ledgers "$step" || true
    fi
    local summary
    for summary in $summaries; do
        normalise "$work/windows/$summary" >"$out.windows.$summary"
        differ "$summary after $step" "$work/linux/$summary" "$out.windows.$summary" || true
    done
    if ((failed)); then
        echo "identity: FAILED at $step (IDENTITY_KEEP_WORK=1 keeps the work folder)"
        exit 1
    fi
}

# Bytes of a part-record at the end of a period file: the first COUNT bytes of its first record.
add_part_record() {
    local file="$1" count="$2" side
    for side in linux windows; do
        head -c "$count" "$work/$side/$file" >"$work/part"
        cat "$work/part" >>"$work/$side/$file"
    done
}

both seed-a "" convert exports/seed.kpm ledger-a
both seed-b "" convert --code-page 852 exports/seed-b.kpm ledger-b
add_part_record ledger-a/2024ORMEK.12 123
add_part_record ledger-a/2025ORMEK.1 1
add_part_record ledger-b/2025ORMEK.3 399
both check-no-ledger "" convert --check exports/export-a.kpm
both check-852-ledger "" convert --check --code-page 852 --summary-json - exports/export-b.kpm ledger-b
both usage-two-letters "" convert --attribute ŻŻ exports/export-a.kpm ledger-a
both write-a summary-a.json convert --attribute Ż --register ś --summary-json summary-a.json \
    exports/export-a.kpm ledger-a
both reimport-a-skip "" convert --skip-booked --attribute A --register B --summary \
    --summary-json - exports/export-a.kpm ledger-a
both write-b-852-strict summary-b.json convert --code-page 852 --skip-booked --strict \
    --attribute ł --register Ę --summary-json summary-b.json exports/export-b.kpm ledger-b
both verify-a "" verify ledger-a
both verify-b "" verify --code-page 852 ledger-b
# Every period file in every format, each with its ledger's code page.
show_all() {
    local when="$1" file page format
    for file in $(cd "$work/linux" && find ledger-a ledger-b -maxdepth 1 -name '*ORMEK.*' | sort); do
        page=mazovia
        [[ "$file" == ledger-b/* ]] && page=852
        for format in text csv json; do
            both "show-$when-$format-${file//\//-}" "" show --code-page "$page" --format "$format" "$file"
        done
    done
}
show_all written
both undo-check-a "" undo --check ledger-a
both undo-skip-run "" undo ledger-a
both undo-write-run "" undo ledger-a
both verify-a-after-undo "" verify ledger-a
both undo-b "" undo ledger-b
show_all undone
echo "identity: $step_count steps, both sides identical"
