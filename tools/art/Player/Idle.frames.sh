# frames: 6
# Standing still on a windy day: a slow breath lifts the shoulders and head,
# the arms sway a little and the scarf stirs in the breeze.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.2 * b
    HEAD_BOB = -0.4 * b
    LEAN = 1.5 + 0.5 * b
    N_ARM = -6 + 2 * b; N_ELBOW = 14 + 3 * b
    F_ARM = 8 - 2 * b; F_ELBOW = 12 + 3 * b
    SCARF_DIR = 168 + 6 * sin(ph); SCARF_AMP = 3; SCARF_PH = ph
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
