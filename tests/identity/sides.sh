# What the identity and zip tests share; sourced, with `root` set to the repository.
#
# The Polish regional settings on both sides: Linux LC_ALL=pl_PL.UTF-8; Wine LANG and LC_ALL
# pl_PL.UTF-8 (the user locale pl-PL, and Polish letters in arguments read as UTF-8) with the
# negative currency form "-1 234,56 zł" set in the prefix's regional settings
# (HKCU\Control Panel\International, iNegCurr=8): the form of Windows' own Polish settings and of
# the Linux locale, where Wine's Polish data has "(1 234,56 zł)". TZ=UTC on both, so that the
# import date stamped into every record is the same day.
linux_env=(env LC_ALL=pl_PL.UTF-8 TZ=UTC)
windows_env=(env LANG=pl_PL.UTF-8 LC_ALL=pl_PL.UTF-8 TZ=UTC)

# Builds TARGETS in the Linux build DIR, configuring it first as a small Release without the
# window when it has no build yet.
build_linux_side() {
    local dir="$1"
    shift
    if [[ ! -f "$dir/CMakeCache.txt" ]]; then
        cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DTREVO_BUILD_GUI=OFF -DBUILD_TESTING=ON >/dev/null
    fi
    cmake --build "$dir" --target "$@" -j2 >/dev/null
}

# A fresh Wine prefix at PREFIX, exported as WINEPREFIX, with the Polish regional settings.
make_polish_prefix() {
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$(dirname "$WINEPREFIX")"
    if ! "${windows_env[@]}" wineboot -i >/dev/null 2>&1 ||
        ! "${windows_env[@]}" wine reg add 'HKCU\Control Panel\International' \
            /v iNegCurr /t REG_SZ /d 8 /f >/dev/null 2>&1; then
        echo "cannot make the Wine prefix $WINEPREFIX" >&2
        return 1
    fi
}

# Ends the server of the prefix made above, if any.
end_wine_prefix() {
    if [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]]; then
        wineserver -k 2>/dev/null || true
    fi
}
