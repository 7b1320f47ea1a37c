# frames: 6
# The metallurgist: a charcoal smock and leather skullcap, brass goggles
# down over the eyes, tongs holding an ingot that glows and cools and glows
# again.
here=$(dirname "$0")
awk -v n="$1" -v c="$2" -f "$here/Folk.awk" -f /dev/stdin <<'AWK'
BEGIN {
    init_folk()
    ph = 2 * PI * n / c
    b = (1 - cos(ph)) / 2
    BREATH = -1.3 * b; HEAD_BOB = -0.4 * b
    SCALE = 0.98; BW = 12; FW = 12; BELLY = 1; COATLEN = 20
    COAT = "#4d4a52"; COAT_D = "#3d3a42"; SHIRT = "#d8c39a"
    N_SLEEVE = COAT; F_SLEEVE = COAT_D; N_FORE = "#8a5a3b"; F_FORE = "#6f4630"
    HAIR = "#8a5a3b"; HAIRSTYLE = "short"; HAT = "goggles"; HAT_C = "#6b4430"; GLASSES = 2
    APRON = "long"; APRON_C = "#8a5a3b"; APRON_D = "#6f4630"
    TROUSER = "#5a4a3e"; TROUSER_D = "#4a3d33"
    F_ARM = 8; F_ELBOW = 30
    N_ARM = 16 + 3 * b; N_ELBOW = 50 + 4 * b
    GLOW = b; N_PROP = "tongs"; N_PROP_A = 96 + 4 * b
    svg_open(160, 160, 2)
    folk()
    svg_close()
}
AWK
