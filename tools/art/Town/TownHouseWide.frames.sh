# frames: 1
# A wide three-storey town house, red roof (500 units wide).
here=$(dirname "$0")
awk -f "$here/Facade.awk" -f /dev/stdin <<'AWK'
BEGIN { facade(500, 3, "#c8553d", "#a9432f", "left", "") }
AWK
