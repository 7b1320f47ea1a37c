# frames: 5
# The running jump: frame 0 plants the lead foot, frame 1 pushes off the
# back foot (the jump sound falls there) with the other knee driving up,
# then the courier rises with the legs tucked under.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    if (n == 0) {
        LEAN = 16
        N_THIGH = 30; N_KNEE = 42; N_FOOT = -4
        F_THIGH = -24; F_KNEE = 34; F_FOOT = 22
        N_ARM = -42; N_ELBOW = 40; F_ARM = 34; F_ELBOW = 70
        HEAD_TILT = -4; SCARF_DIR = 184
    } else if (n == 1) {
        LEAN = 10
        N_THIGH = 72; N_KNEE = 92; N_FOOT = 18
        F_THIGH = -24; F_KNEE = 4; F_FOOT = 52
        N_ARM = 96; N_ELBOW = 30; F_ARM = -40; F_ELBOW = 30
        HEAD_TILT = -10; SCARF_DIR = 170; MOUTH = "o"
    } else {
        GROUND = 0; HY = 71 - (n == 2 ? 2 : 0)
        tuck = n == 2 ? 0.55 : 1
        LEAN = 8 + 2 * (n - 2)
        N_THIGH = 60 + 22 * tuck - 6 * (n - 3); N_KNEE = 80 + 40 * tuck
        F_THIGH = 12 + 46 * tuck - 6 * (n - 3); F_KNEE = 70 + 45 * tuck
        N_FOOT = 20; F_FOOT = 28
        N_ARM = 92 - 10 * (n - 2); N_ELBOW = 34 - 4 * (n - 2)
        F_ARM = 200 - 12 * (n - 2); F_ELBOW = 20
        HEAD_TILT = -10 + 4 * (n - 2); SCARF_DIR = 150 + 8 * (n - 2); MOUTH = "o"
        HEM = -1
    }
    SCARF_AMP = 3.5; SCARF_PH = 1.6 * n; SCARF_LEN = 32
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
