#!/bin/sh
# Runs a command on the current X display, or on a private Xvfb when there is none.
# The private server picks a free display number itself (-displayfd), so several of these
# started at the same moment never pick the same number and run on each other's server.
if [ -n "$DISPLAY" ]; then
    exec "$@"
fi

dir=$(mktemp -d) || exit 1
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >"$dir/log" 2>&1 &
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
