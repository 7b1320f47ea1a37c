# frames: 4
# Falling: arms up, legs paddling loosely, and everything loose flapping
# upwards in the rushing air: scarf, jacket hem, cap flap, the furled wings.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    q = 2 * PI * n / c
    GROUND = 0; HY = 73; LEAN = -8
    N_THIGH = 14 + 10 * sin(q); N_KNEE = 28 + 14 * sin(q + 1); N_FOOT = 26
    F_THIGH = -6 - 10 * sin(q); F_KNEE = 38 - 12 * sin(q + 1); F_FOOT = 30
    N_ARM = 108 + 6 * sin(q); N_ELBOW = 24 + 6 * cos(q)
    F_ARM = 84 - 8 * sin(q); F_ELBOW = 30 - 6 * cos(q)
    HEAD_TILT = -18; MOUTH = "o"
    SCARF_DIR = 222 + 8 * sin(q); SCARF_AMP = 5; SCARF_PH = q * 2; SCARF_LEN = 34; SCARF_FRONT = 1
    HEM = 5 + 2 * sin(q * 2)
    FLAP = 30 + 10 * sin(q * 2)
    WING_LOOSE = 0.6 + 0.25 * sin(q)
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
