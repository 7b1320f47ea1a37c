# frames: 6
# The butcher: round and bald with a great moustache, sleeves rolled up,
# a red-and-white striped apron and a cleaver raised in his fist.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 1.02; BW = 15; FW = 14; BELLY = 7; COATLEN = 4
    COAT = "#f2e3c6"; COAT_D = "#e3cfa9"; SHIRT = "#ffffff"
    N_SLEEVE = "#f2e3c6"; F_SLEEVE = "#e3cfa9"; N_FORE = SKIN; F_FORE = SKIN_D
    HAIR = "#6b4430"; HAIRSTYLE = "bald"; BEARD = "moustache"; BEARD_C = "#6b4430"; BROW = OUT
    APRON = "long"; APRON_C = "#ffffff"; APRON_D = "#d9e6ee"; APRON_STRIPE = RED
    TROUSER = "#5b6c8f"; TROUSER_D = "#4a587a"
    F_ARM = -10; F_ELBOW = 35
    N_ARM = 30 + 5 * b; N_ELBOW = 80 - 5 * b
    N_PROP = "cleaver"; N_PROP_A = 12 - 6 * b
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
