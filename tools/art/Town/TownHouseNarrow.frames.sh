# frames: 1
# A narrow two-storey house, red roof, door on the left (300 units wide).
here=$(dirname "$0")
awk -f "$here/Facade.awk" -f /dev/stdin <<'AWK'
BEGIN { facade(300, 2, "#c8553d", "#a9432f", "left", "") }
AWK
