# frames: 4
# The fortune teller's map marker: her crystal ball.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("ball", n, c) }
AWK
