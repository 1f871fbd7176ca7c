#!/usr/bin/env bash
# The main job: builds the converter and books the bundled sample export into a fresh ledger
# directory, printing the trace and the files written.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="${BUILD_DIR:-$root/build}" "$root/scripts/build.sh"
build_dir="${BUILD_DIR:-$root/build}"

ledger="$(mktemp -d "${TMPDIR:-/tmp}/trevo2kpr-ledger-XXXXXX")/FIRMA1"
mkdir -p "$ledger"
echo "Converting samples/eksp2kap.kpm into $ledger"
echo
status=0
LC_MONETARY=pl_PL.UTF-8 "$build_dir/cli/trevo2kpr-cli" convert --code-page mazovia \
    "$root/samples/eksp2kap.kpm" "$ledger" || status=$?
echo
echo "Files written (400 bytes a record):"
for file in "$ledger"/*; do
    [ -f "$file" ] || continue
    size=$(stat -c %s "$file")
    printf '  %-40s %6d bytes  %3d records\n' "$(basename "$file")" "$size" $((size / 400))
done
echo
echo "Journal of the run (trevo2kpr-cli undo \"$ledger\" takes it back):"
for file in "$ledger"/trevo2KPR.dziennik/*; do
    if [ -f "$file" ]; then
        printf '  %s\n' "trevo2KPR.dziennik/$(basename "$file")"
    fi
done
exit $status
