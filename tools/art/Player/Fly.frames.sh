# frames: 6
# Flying, drawn heading straight up (the game turns the sprite along the
# flight path): wings spread and flexing in the airflow, the jet flame
# flickering under the pack, scarf and boots trailing.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    q = 2 * PI * n / c
    FLEX = 2.2 * sin(q)
    FLAME = 36 + 4 * sin(2 * q) + 2 * sin(3 * q + 1); FLICK = 2 * q; FLAME_W = 1 + 0.06 * sin(3 * q)
    KICK = 3 * sin(q); LEG_SPREAD = 5
    SCARF_DIR = 62 + 5 * sin(q); SCARF_AMP = 4; SCARF_PH = 2 * q; SCARF_LEN = 30
    FLAP = 6 * sin(2 * q)
    svg_open(128, 128)
    back_view()
    svg_close()
}
AWK
