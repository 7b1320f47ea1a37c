# frames: 4
# The metallurgist's map marker: tongs and a glowing ingot.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("tongs", n, c) }
AWK
