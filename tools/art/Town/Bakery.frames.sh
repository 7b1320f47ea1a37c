# frames: 1
# The bakery: a red-roofed house with its sign (440 units wide).
here=$(dirname "$0")
awk -f "$here/Facade.awk" -f /dev/stdin <<'AWK'
BEGIN { facade(440, 2, "#c8553d", "#a9432f", "right", "BAKERY") }
AWK
