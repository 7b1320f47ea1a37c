# frames: 1
# A low one-storey cottage with a slate roof (420 units wide).
here=$(dirname "$0")
awk -f "$here/Facade.awk" -f /dev/stdin <<'AWK'
BEGIN { facade(420, 1, "#5b6c8f", "#4a587a", "right", "") }
AWK
