# frames: 6
# The professor: tweed jacket and bow tie, spectacles, a fringe of grey
# hair and a moustache; he holds his notebook up and jots in it.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 0.98; BW = 12; FW = 12; BELLY = 2; COATLEN = 16
    COAT = "#7a6a4f"; COAT_D = "#64563f"; SHIRT = "#ffffff"; BUTTONS = "#5a4a3e"
    N_SLEEVE = COAT; F_SLEEVE = COAT_D
    HAIR = "#c9c9c4"; HAIRSTYLE = "bald"; BEARD = "moustache"; BEARD_C = "#d9d9d4"; GLASSES = 1
    TROUSER = "#5b6c8f"; TROUSER_D = "#4a587a"; BOOT = "#3b2a22"; BOOT_D = "#2b1f19"
    F_ARM = 40; F_ELBOW = 75
    F_PROP = "book"; F_PROP_A = 20
    N_ARM = 24 + 4 * sin(ph * 2); N_ELBOW = 92 + 6 * sin(ph * 2)
    N_PROP = "pencil"; N_PROP_A = 30
    HEAD_TILT = 6
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
