#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it (.clang-format).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "clang-format: every C++ file is formatted"
