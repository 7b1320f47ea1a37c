# frames: 6
# The launch: frame 0 the wings start to open, frame 1 the jet fires with a
# flash and a burst of smoke, frame 2 the wings lock fully open, then the
# courier accelerates upwards, legs straightening, air streaking past.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Courier.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_pose()
    split("0.3 0.62 1 1 1 1", spread, " ")
    split("6 50 44 40 38 36", flame, " ")
    WL_S = spread[n + 1]; WR_S = WL_S
    FLAME = flame[n + 1]; FLICK = 2.1 * n; FLAME_W = n == 1 ? 1.35 : 1 + 0.1 * (n == 2)
    FLASH = n == 1 ? 1 : (n == 2 ? 0.45 : 0)
    PUFF = n == 1 ? 0.2 : (n == 2 ? 0.7 : (n == 3 ? 1 : 0))
    TUCK = n == 0 ? 55 : (n == 1 ? 35 : (n == 2 ? 15 : 0))
    LEG_SPREAD = n < 2 ? 10 : 3
    FLEX = n == 2 ? -3 : 0
    SPEED_LINES = n >= 3 ? 0.5 + 0.25 * (n - 3) : 0; SPEED_PH = n / 3
    SCARF_DIR = n == 0 ? 84 : 75 - 4 * n; SCARF_AMP = 3 + n * 0.5; SCARF_PH = 2.2 * n; SCARF_LEN = 26 + 2 * n
    FLAP = n * 2
    svg_open(128, 128)
    back_view()
    svg_close()
}
AWK
