# frames: 4
# Landing: frame 0 is the deep crouch of the impact, arms thrown forward for
# balance and the scarf still flung up; the courier then rises to the
# standing pose of the idle.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    t = n / (c - 1)
    k = (1 - t) ^ 1.4
    LEAN = 2 + 22 * k
    N_THIGH = 5 + 62 * k; N_KNEE = 2 + 112 * k; N_FOOT = 0
    F_THIGH = -5 + 52 * k; F_KNEE = 2 + 104 * k; F_FOOT = 0
    N_ARM = -6 + 58 * k; N_ELBOW = 14 + 10 * k
    F_ARM = 8 + 30 * k; F_ELBOW = 12 + 20 * k
    HEAD_TILT = -14 * k
    MOUTH = n == 0 ? "grit" : "smile"
    EYES = n == 0 ? "squint" : "open"
    SCARF_DIR = 168 + 72 * k; SCARF_AMP = 3 + 2 * k; SCARF_PH = 1.7 * n
    HEM = 3 * k
    WING_LOOSE = 0.5 * k
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
