#!/usr/bin/env bash
# Runs one test program on a private X server with a window manager:
#   xvfb.sh <width>x<height> <program> [arguments...]
# Xvfb picks a free display itself (-displayfd), openbox manages the windows; both are
# stopped by their process ids when the test ends, whatever its outcome. The test itself
# runs through isolate.sh, in a home of its own.
set -u
size=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kuvo-x11.XXXXXX") || exit 1
xvfb_pid=
wm_pid=
stop() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap stop EXIT

Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${size}x24" 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb_pid=$!
# A loaded machine can take many seconds to start either; waits are bounded, not short.
for _ in $(seq 300); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# openbox owns the selection WM_S0 once it manages the screen. A test must not start before:
# a window manager arriving late takes over the test's windows and moves them.
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in $(seq 300); do
    wm_up && break
    sleep 0.1
done
if ! wm_up; then
    echo "openbox did not start" >&2
    cat "$work/openbox.log" >&2
    exit 1
fi
# XVFB_MONITORS="WxH+X+Y WxH+X+Y ..." splits the one screen into monitors side by side; Qt
# reads them as Xinerama heads when it does not ask RandR.
if [ -n "${XVFB_MONITORS:-}" ]; then
    n=0
    for monitor in $XVFB_MONITORS; do
        w=${monitor%%x*}
        rest=${monitor#*x}
        h=${rest%%+*}
        output=none
        [ $n -eq 0 ] && output=screen
        xrandr --setmonitor "kuvo$n" "$w/$((w / 4))x$h/$((h / 4))+${rest#*+}" "$output" \
            || exit 1
        n=$((n + 1))
    done
    export QT_XCB_NO_XRANDR=1
fi
export QT_QPA_PLATFORM=xcb
"$here/isolate.sh" "$@"
