#!/bin/sh
# Runs a command on the current X display, or on a private Xvfb when there is none.
# The private server picks a free display number itself (-displayfd), so several of these
# started at the same moment never pick the same number and run on each other's server.
#
# An X server resets when its last client disconnects and drops the connections made while it
# resets: a test that closes its window and opens another (or a test program starting just as
# another ends) would then find no display. The private server is started with -noreset; on a
# display given from outside, a client kept connected for the whole run (xprop watching the
# root window) keeps the server from resetting.
if [ -n "$DISPLAY" ]; then
    out=$(mktemp) || exit 1
    holder=
    release() {
        [ -n "$holder" ] && kill "$holder" 2>/dev/null
        rm -f "$out"
    }
    trap 'release; exit 1' INT TERM HUP
    # The holder is connected once it has printed the root window's properties; a connection
    # refused during a reset is tried again.
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        xprop -root -spy >"$out" 2>/dev/null &
        holder=$!
        while kill -0 "$holder" 2>/dev/null && [ ! -s "$out" ]; do
            sleep 0.01
        done
        [ -s "$out" ] && break
        holder=
    done
    "$@"
    status=$?
    release
    exit "$status"
fi

dir=$(mktemp -d) || exit 1
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" >"$dir/log" 2>&1 &
server=$!
cleanup() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -rf "$dir"
}
trap 'cleanup; exit 1' INT TERM HUP

# The display number is written once the server accepts connections.
tries=0
while ! grep -q . "$dir/display" 2>/dev/null; do
    if ! kill -0 "$server" 2>/dev/null || [ "$tries" -ge 200 ]; then
        echo "with-display.sh: Xvfb did not start:" >&2
        cat "$dir/log" >&2
        cleanup
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.05
done
DISPLAY=":$(head -n 1 "$dir/display")"
export DISPLAY

"$@"
status=$?
cleanup
exit "$status"
