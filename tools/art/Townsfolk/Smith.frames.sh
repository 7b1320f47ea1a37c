# frames: 6
# The blacksmith: broad, in a leather apron over rolled sleeves, a short
# beard, hammer in hand; idling, he weighs the hammer and lets it dip.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 1.04; BW = 15; FW = 14; BELLY = 3; COATLEN = 4
    COAT = "#7a5a44"; COAT_D = "#634734"; SHIRT = "#d9c7a4"
    N_SLEEVE = "#e3cfa9"; F_SLEEVE = "#cdb78f"; N_FORE = SKIN; F_FORE = SKIN_D
    SKIN = "#e8b48a"; SKIN_D = "#cf9873"
    HAIR = "#3b2a22"; HAIRSTYLE = "short"; BEARD = "full"; BEARD_C = "#4a3226"; BROW = OUT
    APRON = "long"; APRON_C = "#6b4430"; APRON_D = "#553423"; BELT = BRASS
    TROUSER = "#5a4a3e"; TROUSER_D = "#4a3d33"
    N_ARM = 10 + 4 * b; N_ELBOW = 75 + 6 * b
    F_ARM = -6; F_ELBOW = 40
    N_PROP = "hammer"; N_PROP_A = 8 - 14 * b
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
