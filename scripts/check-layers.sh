#!/bin/sh
# Fails when a source file includes a header of a higher layer, listing file and line.
#   scripts/check-layers.sh           check (exit 1 on an upward include)
#   scripts/check-layers.sh --graph   also print the includes counted per pair of folders
#
# The layers, lowest first, as the CMake libraries build them:
#   core (with toolkit/utils misc, TextsManager and Timer) < render < toolkit < game
#   < park and source_menu (the screens and the park view, which call each other)
#   < the program (core/main.cpp and core/GameMain.*: the entry and the main loop)
# A lower layer may include its own and any lower layer's headers, never a higher one's.
set -e
cd "$(dirname "$0")/.."

# Includes from a lower layer that are kept on purpose: "file included-path" per line.
#   core/sdl_layer.cpp drives the render device's abstract interface (video mode, viewport)
#   when the window is resized; it calls no code of the render library.
allowed='core/sdl_layer.cpp render/device.h'

graph=0
[ "${1:-}" = "--graph" ] && graph=1

find core render toolkit game park source_menu -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.inl' \) |
sort |
xargs grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' /dev/null |
awk -v allowed="$allowed" -v graph="$graph" '
function layer(path) {
    if (path ~ /^core\/(main\.cpp|GameMain\.(cpp|h))$/) return 5
    if (path ~ /^toolkit\/utils\/(misc|TextsManager|Timer)\.(cpp|h)$/) return 0
    if (path ~ /^core\//) return 0
    if (path ~ /^render\//) return 1
    if (path ~ /^toolkit\//) return 2
    if (path ~ /^game\//) return 3
    if (path ~ /^(park|source_menu)\//) return 4
    return -1
}
function folder(path) {
    if (layer(path) == 5) return "program"
    sub(/\/.*/, "", path)
    return path
}
BEGIN {
    split("core render toolkit game screens program", names, " ")
    n = split(allowed, a, "\n")
    for (i = 1; i <= n; ++i) ok[a[i]] = 1
    bad = 0
}
{
    # file:line:text
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    target = rest; sub(/^[^"]*"/, "", target); sub(/".*/, "", target)
    if (layer(target) < 0) {
        # A name beside the including file.
        dir = file; sub(/\/[^\/]*$/, "", dir)
        if (layer(dir "/" target) >= 0 && system("test -f \"" dir "/" target "\"") == 0)
            target = dir "/" target
        else
            next
    }
    count[folder(file) " -> " folder(target)]++
    if (layer(target) > layer(file) && !((file " " target) in ok)) {
        printf "%s:%s: %s includes %s, a higher layer (%s above %s)\n", file, line, folder(file), target,
               names[layer(target) + 1], names[layer(file) + 1]
        bad = 1
    }
}
END {
    if (graph)
        for (pair in count) printf "%6d %s\n", count[pair], pair | "sort -k2"
    close("sort -k2")
    if (bad) {
        print "Upward includes found: a lower layer must not know a higher one (see scripts/check-layers.sh)."
        exit 1
    }
}'
