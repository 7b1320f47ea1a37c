# frames: 1
# A two-storey house with a slate roof, door on the right (380 units wide).
here=$(dirname "$0")
awk -f "$here/Facade.awk" -f /dev/stdin <<'AWK'
BEGIN { facade(380, 2, "#5b6c8f", "#4a587a", "right", "") }
AWK
