# frames: 4
# The captain's map marker: an anchor.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("anchor", n, c) }
AWK
