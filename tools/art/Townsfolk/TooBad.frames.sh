# frames: 4
# The marker for a townsperson without one of their own: a grey pin with a question mark.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f "$here/Marker.awk" -f /dev/stdin <<'AWK'
BEGIN { marker("unknown", n, c) }
AWK
