# frames: 4
# The blacksmith's map marker: his hammer.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("hammer", n, c) }
AWK
