# frames: 8
# The run: leaning into the wind, long strides with a short flight between
# them; the near foot lands on frame 3, the far foot on frame 7 (the step
# sounds and dust puffs fall there). Arms pump with bent elbows.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
function pos(x) { return x > 0 ? x : 0 }
function knee(q) { return 16 + 95 * pos(-sin(q + 0.45)) ^ 1.3 }
BEGIN {
    init_pose()
    # q = 0 is the near foot's contact
    q = 2 * PI * (n - 3) / c
    LEAN = 15
    N_THIGH = 8 + 32 * cos(q); N_KNEE = knee(q); N_FOOT = -8 * cos(q) + 28 * pos(-sin(q + 0.3))
    F_THIGH = 8 - 32 * cos(q); F_KNEE = knee(q + PI); F_FOOT = 8 * cos(q) + 28 * pos(sin(q + 0.3))
    N_ARM = 10 - 48 * cos(q); N_ELBOW = 80
    F_ARM = 10 + 48 * cos(q); F_ELBOW = 80
    # airborne between the contacts
    LIFT = 4 * pos(-sin(2 * q))
    HEAD_TILT = -4
    SCARF_DIR = 186 + 4 * sin(2 * q); SCARF_AMP = 4; SCARF_PH = 2 * q; SCARF_LEN = 33
    HEM = 1.5 + pos(sin(2 * q))
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
