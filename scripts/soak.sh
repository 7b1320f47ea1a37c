#!/bin/bash
# Plays the whole game over and over in one process and prints its resident
# memory, to show that a long session does not grow.
#
# The full playthrough's plan (tests/recordings/plans/Playthrough.zorvel) is
# played by cloudmere-autoplay with its part after the logo repeated LOOPS
# times: once through the logo, then from the title menu to the credits and
# back to the title again and again. That run is recorded, then replayed
# drawn with --fixed-dt (as fast as the machine goes) while this script
# reads the replay's resident set size every minute, for MINUTES minutes.
#
# usage: scripts/soak.sh [MINUTES] [LOOPS] [BUILD_DIR]   (default: 60 8 build)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-60}
loops=${2:-8}
build=${3:-build}
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The player's own settings and progress stay out of it.
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"

plan=tests/recordings/plans/Playthrough.zorvel
python3 - "$plan" "$loops" > "$scratch/soak-plan.zorvel" <<'EOF'
import sys
lines = open(sys.argv[1]).read().split('\n')
start = next(i for i, l in enumerate(lines) if l.strip().startswith('List#'))
end = next(i for i, l in enumerate(lines) if l.strip() == '-Steps')
steps = [l.strip() for l in lines[start + 1:end]]
# The logo plays once: the loop starts at the title it leads to.
first_level = steps.index('level') + 1
looped = steps[:first_level] + steps[first_level:] * int(sys.argv[2])
print('\n'.join(lines[:start]))
print('  List#%d:Steps' % len(looped))
print('\n'.join('    ' + s for s in looped))
print('\n'.join(lines[end:]).rstrip('\n'))
EOF
"$build/cloudmere-autoplay" "$scratch/soak-plan.zorvel" "$scratch/soak.zorvel"

"$build/cloudmere" --replay "$scratch/soak.zorvel" --fixed-dt 0.016666668 2> "$scratch/err" &
game=$!
rss() { awk '/^VmRSS/ { print $2 }' "/proc/$game/status" 2>/dev/null || true; }
for minute in $(seq 1 "$minutes"); do
    sleep 60
    now=$(rss)
    if [ -z "$now" ]; then
        status=0
        wait "$game" || status=$?
        echo "soak: the replay ended before minute $minute with status $status" \
            "(0: every loop played, every check matched)"
        break
    fi
    echo "soak: minute $minute: resident $now KB"
done
kill "$game" 2>/dev/null || true
wait "$game" 2>/dev/null || true
grep -v "channels is busy" "$scratch/err" | tail -5 >&2 || true
