# Windows of Windows programs under Wine on an X display (xvfb-run gives one): a window manager,
# so that windows can be activated and closed as a user does, and waiting for a window or a
# process. Sourced.

x11_wm_pid=""

# Starts openbox on $DISPLAY; ended by end_x11_session.
start_x11_session() {
    [[ -n "${DISPLAY:-}" ]] || { echo "no X display (run under xvfb-run)" >&2; return 1; }
    openbox >/dev/null 2>&1 &
    x11_wm_pid=$!
    # Until it manages the screen.
    local tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        ((++tries < 100)) || { echo "openbox did not start" >&2; return 1; }
        sleep 0.1
    done
}

end_x11_session() {
    if [[ -n "$x11_wm_pid" ]]; then
        kill "$x11_wm_pid" 2>/dev/null || true
        wait "$x11_wm_pid" 2>/dev/null || true
        x11_wm_pid=""
    fi
}

# Prints the id of the first visible window whose title is TITLE, waiting up to SECONDS.
wait_for_window() {
    local title="$1" seconds="$2" id deadline pattern
    # xdotool takes a regular expression; the title is matched whole, letter for letter.
    pattern="^$(printf '%s' "$title" | sed 's/[][\\.|$(){}?+*^]/\\&/g')\$"
    deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        if id="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1)" &&
            [[ -n "$id" ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# Closes a window as its close box does: the window manager asks it to (WM_DELETE_WINDOW).
close_window() {
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    xdotool key --clearmodifiers --window "$1" alt+F4
}

# Waits up to SECONDS for the background process PID to end; its exit status is then the
# function's.
wait_for_exit() {
    local pid="$1" seconds="$2" deadline
    deadline=$((SECONDS + seconds))
    while kill -0 "$pid" 2>/dev/null; do
        ((SECONDS < deadline)) || return 124
        sleep 0.2
    done
    wait "$pid"
}

# Saves a picture of the window WINDOW with the window manager's frame around it to OUT (PNG,
# without metadata, so that taking it again changes no byte needlessly).
shoot_window() {
    local window="$1" out="$2" info x y width height extents left right top bottom shot
    info="$(xwininfo -id "$window")"
    x="$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")"
    y="$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")"
    width="$(sed -n 's/.*Width: *//p' <<<"$info")"
    height="$(sed -n 's/.*Height: *//p' <<<"$info")"
    extents="$(xprop -id "$window" _NET_FRAME_EXTENTS |
        sed -n 's/.*= \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)$/\1 \2 \3 \4/p')"
    read -r left right top bottom <<<"${extents:-0 0 0 0}"
    shot="$(mktemp --suffix=.png)"
    import -window root \
        -crop "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
        +repage "$shot"
    mkdir -p "$(dirname "$out")"
    convert "$shot" -strip "$out"
    rm -f "$shot"
}
