# frames: 4
# A gentle turn, drawn turning to the left of the picture (the game mirrors
# it for right turns): the body rolls into the turn, the inner wing dips
# and shortens as it tilts away, the flame and scarf stream to the outside.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    q = 2 * PI * n / c
    BX = 66; ROLL = -15; BEND = 7
    WL_DIP = 8 + 2 * sin(q); WL_K = 0.84; WR_DIP = 5; WR_K = 1
    FLEX = 1.5 * sin(q)
    FLAME = 36 + 4 * sin(2 * q + 0.5); FLICK = 2 * q + 1; FLAME_BEND = 9 + 2 * sin(q)
    KICK = 2 * sin(q); LEG_SPREAD = 4
    SCARF_DIR = 52 + 5 * sin(q); SCARF_AMP = 4; SCARF_PH = 2 * q; SCARF_LEN = 32
    svg_open(128, 128)
    back_view()
    svg_close()
}
AWK
