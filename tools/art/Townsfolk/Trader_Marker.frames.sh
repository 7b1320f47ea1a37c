# frames: 4
# The trader's map marker: a purse and a coin.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("coin", n, c) }
AWK
