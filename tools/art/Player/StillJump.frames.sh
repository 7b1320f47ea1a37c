# frames: 4
# Jumping straight up from a stand: frame 0 is the push off (the jump sound
# falls there), frame 1 the stretch with arms flung up, then the knees tuck.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    if (n == 0) {
        LEAN = 12
        N_THIGH = 38; N_KNEE = 62; F_THIGH = 30; F_KNEE = 56
        N_ARM = -40; N_ELBOW = 10; F_ARM = -30; F_ELBOW = 14
        HEAD_TILT = -6; SCARF_DIR = 160
    } else if (n == 1) {
        GROUND = 0; HY = 69; LEAN = -4
        N_THIGH = 2; N_KNEE = 3; N_FOOT = 48; F_THIGH = -4; F_KNEE = 6; F_FOOT = 44
        N_ARM = 120; N_ELBOW = 20; F_ARM = 100; F_ELBOW = 20
        HEAD_TILT = -16; SCARF_DIR = 120; MOUTH = "o"
    } else {
        GROUND = 0; HY = 70; tuck = n == 2 ? 0.55 : 1
        LEAN = 4 * tuck
        N_THIGH = 2 + 62 * tuck; N_KNEE = 3 + 100 * tuck; N_FOOT = 40 - 15 * tuck
        F_THIGH = -4 + 58 * tuck; F_KNEE = 6 + 96 * tuck; F_FOOT = 40 - 12 * tuck
        N_ARM = 120 - 30 * tuck; N_ELBOW = 20 + 10 * tuck
        F_ARM = 100 - 20 * tuck; F_ELBOW = 20 + 10 * tuck
        HEAD_TILT = -14 + 8 * tuck; SCARF_DIR = 125 + 20 * tuck; MOUTH = "o"
    }
    SCARF_AMP = 3; SCARF_PH = 1.7 * n
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
