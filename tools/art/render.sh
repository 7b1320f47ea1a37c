#!/bin/sh
# Renders the game's pictures from the SVG sources beside this script.
#
#   tools/art/render.sh            (from anywhere; needs rsvg-convert and awk)
#
# Still pictures: every <group>/<Name>.svg becomes
# Resources/Images/<group>/<Name>.png ("Images" itself for group "root").
# Animations: each <group>/<Name>.frames.sh prints the SVG of frame N
# (argument 1) of FRAMES (argument 2); its first line says
# "# frames: COUNT". Frame N becomes Resources/Images/<group>/<Name>_NN.png.
# Re-run after changing any source; the PNGs are committed.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
images="$root/Resources/Images"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

out_dir() {
    if [ "$1" = root ]; then echo "$images"; else echo "$images/$1"; fi
}

for group_dir in "$here"/*/; do
    group=$(basename "$group_dir")
    dest=$(out_dir "$group")
    mkdir -p "$dest"
    for svg in "$group_dir"*.svg; do
        [ -e "$svg" ] || continue
        name=$(basename "$svg" .svg)
        rsvg-convert "$svg" -o "$dest/$name.png"
        echo "$dest/$name.png"
    done
    for gen in "$group_dir"*.frames.sh; do
        [ -e "$gen" ] || continue
        name=$(basename "$gen" .frames.sh)
        count=$(sed -n 's/^# frames: *\([0-9]*\).*/\1/p' "$gen" | head -n 1)
        n=0
        while [ "$n" -lt "$count" ]; do
            file=$(printf '%s/%s_%02d.png' "$dest" "$name" "$n")
            sh "$gen" "$n" "$count" > "$scratch/frame.svg"
            rsvg-convert "$scratch/frame.svg" -o "$file"
            echo "$file"
            n=$((n + 1))
        done
    done
done
