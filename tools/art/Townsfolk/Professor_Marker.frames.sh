# frames: 4
# The professor's map marker: notebook and pencil.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("book", n, c) }
AWK
