# frames: 4
# A hard turn to the left of the picture (mirrored by the game for right
# turns): rolled far over, the body bent into the curve, the inner wing
# dipped steeply, the flame roaring and swept out, air streaking past.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    q = 2 * PI * n / c
    BX = 68; BY = 54; ROLL = -28; BEND = 15
    WL_DIP = 16 + 3 * sin(q); WL_K = 0.68; WR_DIP = 13; WR_K = 0.96
    FLEX = 2.5 * sin(q)
    FLAME = 42 + 5 * sin(2 * q + 0.5); FLICK = 2 * q + 2; FLAME_BEND = 18 + 3 * sin(q); FLAME_W = 1.12
    KICK = 2 * sin(q); LEG_SPREAD = 3; TUCK = 20
    SCARF_DIR = 40 + 5 * sin(q); SCARF_AMP = 5; SCARF_PH = 2 * q; SCARF_LEN = 34
    SPEED_LINES = 1; SPEED_PH = n / c
    FLAP = 10
    svg_open(128, 128)
    back_view()
    svg_close()
}
AWK
