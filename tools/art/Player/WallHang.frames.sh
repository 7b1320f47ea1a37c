# frames: 4
# Clinging to a wall on the right: both hands and the near boot pressed to
# the wall at the right edge of the body, the other leg hanging, sliding
# down a little and catching again.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    q = 2 * PI * n / c
    slide = 1.3 * (1 - cos(q))
    wall = 86
    GROUND = 0; HX = 63; HY = 70 + slide; LEAN = 4
    # hands on the wall, gripping a little higher than the body slides
    torso_pt(1, -23); ik2(TX, TY, wall - 4.5, 55 + 0.4 * slide, 13, 13.5, -1)
    N_ARM = IK1; N_ELBOW = IK2 - IK1
    torso_pt(-2, -23); ik2(TX, TY, wall - 4.5, 40 + 0.4 * slide, 13, 13.5, -1)
    F_ARM = IK1; F_ELBOW = IK2 - IK1
    # near boot flat against the wall, knee up
    torso_pt(1.5, -3); ik2(TX, TY, wall - 5.5, 97 + 0.5 * slide, 19, 18, 1)
    N_THIGH = IK1; N_KNEE = IK1 - IK2; N_FOOT = -90
    F_THIGH = 6 + 3 * sin(q); F_KNEE = 16 + 4 * sin(q); F_FOOT = 22
    HEAD_TILT = -6; MOUTH = "grit"
    SCARF_DIR = 200 + 6 * sin(q); SCARF_AMP = 3.5; SCARF_PH = q; SCARF_LEN = 32; SCARF_FRONT = 1
    HEM = 1 + 0.8 * slide
    svg_open(128, 128)
    side_view()
    svg_close()
}
AWK
