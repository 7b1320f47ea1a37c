#!/bin/bash
# Brings every stored recording under tests/recordings/ up to date with the
# game as it is now. A recording with a plan (tests/recordings/plans/, same
# name) is played again from its plan by cloudmere-autoplay, which steers
# through the game as it now plays; any other is replayed (its input, time
# steps, seed, route, unlocks and jobs done kept) while being recorded
# afresh, so its checkpoints become those of the current game. Run it after
# a deliberate change to how the game plays, then look at what the first
# difference each replay reports says before committing the new files.
#
# usage: scripts/rerecord.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
# The player's own settings and progress stay out of it.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
unset CLOUDMERE_DATA

shopt -s nullglob
recordings=(tests/recordings/*.zorvel)
for plan in tests/recordings/plans/*.zorvel; do
    [ -e "tests/recordings/$(basename "$plan")" ] || recordings+=("tests/recordings/$(basename "$plan")")
done
if [ ${#recordings[@]} -eq 0 ]; then
    echo "rerecord: no recordings in tests/recordings/" >&2
    exit 1
fi
for recording in "${recordings[@]}"; do
    fresh="$scratch/$(basename "$recording")"
    plan="tests/recordings/plans/$(basename "$recording")"
    if [ -e "$plan" ]; then
        "$build/cloudmere-autoplay" "$plan" "$fresh"
    else
        "$build/cloudmere" --no-draw --replay "$recording" --record "$fresh"
    fi
    cp "$fresh" "$recording"
    echo "rerecord: $recording"
done
