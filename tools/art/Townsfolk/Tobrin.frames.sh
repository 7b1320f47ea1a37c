# frames: 6
# Tobrin the carpenter: flat cap, dungarees over a work shirt, a plank on
# his shoulder and a saw in the other hand, which he swings idly.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 1.0; BW = 12; FW = 12; BELLY = 0; COATLEN = 0
    COAT = "#c8553d"; COAT_D = "#a9432f"; SHIRT = "#f2e3c6"
    N_SLEEVE = COAT; F_SLEEVE = COAT_D
    APRON = "short"; APRON_C = "#5b6c8f"; APRON_D = "#4a587a"; BELT = WOOD_D
    HAIR = "#d07a3a"; HAIRSTYLE = "short"; BEARD = "none"
    HAT = "flatcap"; HAT_C = "#b8a88a"
    TROUSER = "#5b6c8f"; TROUSER_D = "#4a587a"
    BACK = "plank"
    F_ARM = 150; F_ELBOW = 40
    N_ARM = 6 + 6 * sin(ph); N_ELBOW = 22
    N_PROP = "saw"; N_PROP_A = 160 + 6 * sin(ph)
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
