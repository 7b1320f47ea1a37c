# frames: 4
# The butcher's map marker: his cleaver.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("cleaver", n, c) }
AWK
