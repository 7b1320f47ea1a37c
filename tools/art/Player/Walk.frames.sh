# frames: 8
# The walk: the near foot strikes the ground on frame 3, the far foot on
# frame 7 (the step sounds fall there); arms swing against the legs and the
# scarf trails back.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
function swing_knee(q) { return 5 + 48 * (sin(q) < 0 ? -sin(q) : 0) ^ 1.4 }
BEGIN {
    init_pose()
    # q = 0 is the near foot's contact
    q = 2 * PI * (n - 3) / c
    LEAN = 5
    N_THIGH = 25 * cos(q); N_KNEE = swing_knee(q - 0.35); N_FOOT = -12 * cos(q) + 10 * (sin(q) < 0 ? -sin(q) : 0)
    F_THIGH = -25 * cos(q); F_KNEE = swing_knee(q + PI - 0.35); F_FOOT = 12 * cos(q) + 10 * (sin(q) > 0 ? sin(q) : 0)
    N_ARM = -22 * cos(q) - 2; N_ELBOW = 16 + 8 * (cos(q) > 0 ? 0 : -cos(q))
    F_ARM = 22 * cos(q) + 4; F_ELBOW = 16 + 8 * (cos(q) < 0 ? 0 : cos(q))
    HEAD_BOB = 0.6 * cos(2 * q)
    SCARF_DIR = 172 + 5 * sin(2 * q); SCARF_AMP = 3.5; SCARF_PH = 2 * q
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
