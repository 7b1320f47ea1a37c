# frames: 6
# Baker Pim: round as a bun, rosy, a tall white hat, a floury apron and a
# fresh loaf held up proudly, lifted a little with each breath.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 0.95; BW = 19; FW = 17; BELLY = 14; COATLEN = 4; LEG = 36
    COAT = "#f4f4f0"; COAT_D = "#d9e6ee"; SHIRT = "#ffffff"; BUTTONS = "#d9e6ee"
    N_SLEEVE = "#f4f4f0"; F_SLEEVE = "#d9e6ee"
    HAIR = "#d9b27c"; HAIRSTYLE = "short"; BEARD = "moustache"; BEARD_C = "#c9a06a"; NOSE = 3.6
    HAT = "toque"
    APRON = "long"; APRON_C = "#f2e3c6"; APRON_D = "#e3cfa9"; BELT = ""
    TROUSER = "#8a7a62"; TROUSER_D = "#74664f"
    F_ARM = -8; F_ELBOW = 30
    N_ARM = 34 + 3 * b; N_ELBOW = 72 + 4 * b
    N_PROP = "loaf"; N_PROP_A = -8 - 3 * b
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
